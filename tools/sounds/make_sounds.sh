#!/usr/bin/env bash
# Synthesizes the 33 sound effects resource/<NAME>.dat with sox.
# Every sound is mono 22050 Hz 16-bit PCM in a RIFF WAVE file (the ".dat"
# extension is the program's). The run is repeatable: sox's random numbers are
# fixed (-R) and nothing is dithered (-D), so the same sox gives the same bytes.
#
#   bash tools/sounds/make_sounds.sh [output folder, default resource/]
#   bash tools/sounds/make_sounds.sh --check   (the shipped files are what this script makes)
#
# Loudness: effects are brought to one RMS level and typing clicks to a lower
# one, with every peak kept at least 1 dB below full scale.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ "${1:-}" = "--check" ]; then
  FRESH=$(mktemp -d)
  trap 'rm -rf "$FRESH"' EXIT
  bash "$0" "$FRESH" >/dev/null
  status=0
  for f in "$FRESH"/*.dat; do
    cmp -s "$f" "resource/$(basename "$f")" || { echo "differs from the script's output: resource/$(basename "$f")"; status=1; }
  done
  [ $status -eq 0 ] && echo "resource/ holds exactly what the script makes"
  exit $status
fi
OUT=${1:-resource}
mkdir -p "$OUT"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

RATE=22050
SOX=(sox -R -D -V1)
FLOAT=(-r "$RATE" -c 1 -e floating-point -b 32)
EFFECT_RMS=-20     # dBFS
TYPING_RMS=-23     # dBFS
PEAK_LIMIT=-1      # dBFS

w() { echo "$WORK/$1.wav"; }

# gen NAME SOX-SYNTH-AND-EFFECTS...: a new sound from sox's generator.
gen() {
  local name=$1
  shift
  "${SOX[@]}" -n "${FLOAT[@]}" "$(w "$name")" synth "$@"
}

# tone NAME SECONDS WAVE FREQ DECAY [effects...]: a note with an attack of
# up to 3 ms that dies away over its last DECAY seconds.
tone() {
  local name=$1 len=$2 wave=$3 freq=$4 decay=$5
  shift 5
  local attack
  attack=$(awk -v l="$len" -v d="$decay" 'BEGIN { a = l - d; if (a > 0.003) a = 0.003; printf "%.4f", a }')
  gen "$name" "$len" "$wave" "$freq" fade l "$attack" "$len" "$decay" "$@"
}

# fx NAME effects...: applies sox effects to a sound in place.
fx() {
  local name=$1
  shift
  "${SOX[@]}" "$(w "$name")" "$WORK/fx.wav" "$@"
  mv "$WORK/fx.wav" "$(w "$name")"
}

# at NAME SECONDS: the sound starts SECONDS later.
at() { fx "$1" pad "$2"; }

# mix OUT IN...: the inputs summed.
mix() {
  local out=$1
  shift
  local ins=()
  for f in "$@"; do ins+=(-v 1 "$(w "$f")"); done
  "${SOX[@]}" -m "${ins[@]}" "$(w "$out")"
}

# finish NAME SOUND TARGET-RMS: normalises the loudness, writes the WAVE file.
finish() {
  local name=$1 sound=$2 target=$3
  local stats rms peak gain
  stats=$("${SOX[@]}" "$(w "$sound")" -n stats 2>&1)
  rms=$(awk '/^RMS lev dB/ {print $4}' <<<"$stats")
  peak=$(awk '/^Pk lev dB/ {print $4}' <<<"$stats")
  gain=$(awk -v r="$rms" -v p="$peak" -v t="$target" -v l="$PEAK_LIMIT" \
    'BEGIN { g = t - r; if (p + g > l) g = l - p; printf "%.2f", g }')
  "${SOX[@]}" "$(w "$sound")" -t wav -r "$RATE" -c 1 -e signed-integer -b 16 "$OUT/$name.dat" gain "$gain"
}

# ---- effects ------------------------------------------------------------

# CORRECT: a bright two-note chime, rising.
tone c1 0.30 sine 1318.5 0.30;  tone c1h 0.30 sine 3955.5 0.12 vol 0.25
tone c2 0.30 sine 1975.5 0.30;  tone c2h 0.30 sine 5926.5 0.12 vol 0.25
at c2 0.08; at c2h 0.08
mix correct c1 c1h c2 c2h
finish CORRECT correct $EFFECT_RMS

# WRONG: a soft, low buzz: two detuned saws, filtered.
tone w1 0.34 sawtooth 110 0.20; tone w2 0.34 sawtooth 116.5 0.20
mix wrong w1 w2
fx wrong lowpass 600 lowpass 600 fade q 0.02 0.34 0.12
finish WRONG wrong $EFFECT_RMS

# MASTER: a short fanfare: three quick brass notes and a held major chord.
brass() { tone "$1" "$2" sawtooth "$3" "$4" lowpass 2500; }
brass m1 0.11 392 0.05; brass m2 0.11 392 0.05; brass m3 0.11 392 0.05
brass m4 0.55 523.25 0.35; brass m5 0.55 659.25 0.35; brass m6 0.55 783.99 0.35
at m2 0.12; at m3 0.24; at m4 0.36; at m5 0.36; at m6 0.36
mix master m1 m2 m3 m4 m5 m6
finish MASTER master $EFFECT_RMS

# FIRSTTIME: a new word: a rising two-tone cue.
tone f1 0.12 sine 880 0.06; tone f2 0.18 sine 1318.5 0.15; at f2 0.09
mix firsttime f1 f2
finish FIRSTTIME firsttime $EFFECT_RMS

# AGAIN: asked again: the same tone twice.
tone a1 0.09 triangle 784 0.05; tone a2 0.12 triangle 784 0.09; at a2 0.12
mix again a1 a2
finish AGAIN again $EFFECT_RMS

# REVIEW: under review: a falling two-tone cue.
tone r1 0.12 sine 1318.5 0.06; tone r2 0.18 sine 987.77 0.15; at r2 0.09
mix review r1 r2
finish REVIEW review $EFFECT_RMS

# OPEN_QUIT: a gentle three-note jingle.
tone o1 0.30 triangle 392 0.25; tone o2 0.30 triangle 493.88 0.25; tone o3 0.45 triangle 587.33 0.40
at o2 0.14; at o3 0.28
mix open_quit o1 o2 o3
finish OPEN_QUIT open_quit $EFFECT_RMS

# NORM_FIN: the day's quota done: a gentle rising arpeggio.
tone n1 0.30 sine 523.25 0.25; tone n2 0.30 sine 659.25 0.25
tone n3 0.30 sine 783.99 0.25; tone n4 0.50 sine 1046.5 0.45
at n2 0.12; at n3 0.24; at n4 0.36
mix norm_fin n1 n2 n3 n4
finish NORM_FIN norm_fin $EFFECT_RMS

# NOTICE: a soft two-bell jingle.
tone b1 0.40 sine 880 0.38;  tone b1h 0.40 sine 2640 0.15 vol 0.2
tone b2 0.45 sine 1318.5 0.43; tone b2h 0.45 sine 3955.5 0.15 vol 0.2
at b2 0.16; at b2h 0.16
mix notice b1 b1h b2 b2h
finish NOTICE notice $EFFECT_RMS

# COSMOS: a shimmering upward sweep (the star view).
gen cosmos 0.45 sine 1500-4200 tremolo 18 60 fade q 0.05 0.45 0.25
finish COSMOS cosmos $EFFECT_RMS

# BUTTON: a short, clean click.
tone button 0.035 sine 1500 0.03
finish BUTTON button $EFFECT_RMS

# RESET: a falling sweep, back to the start.
gen reset 0.32 triangle 900-220 fade q 0.01 0.32 0.12
finish RESET reset $EFFECT_RMS

# SKIN: a filtered noise swoosh.
gen skin 0.30 pinknoise bandpass 1800 1.2q fade q 0.12 0.30 0.16
finish SKIN skin $EFFECT_RMS

# ---- typing sounds --------------------------------------------------------

# Sets 1 and 2: mechanical key clicks at four pitches.
centre=2000
for v in C D E F; do
  gen "k$v" 0.025 whitenoise bandpass $centre 2q fade l 0 0.025 0.022
  finish "TYPE1-2$v" "k$v" $TYPING_RMS
  centre=$((centre + 500))
done

# Set 3: a typewriter: a sharp strike and a low thunk.
gen t3a 0.02 whitenoise highpass 3000 fade l 0 0.02 0.018
tone t3b 0.06 sine 180 0.05
mix t3 t3a t3b
finish TYPE3 t3 $TYPING_RMS

# Sets 4 and 5: wood-block pops at four pitches.
set -- 800 950 1100 1300
for v in C D E F; do
  tone "p$v" 0.06 sine "$1" 0.055
  gen "p${v}n" 0.008 whitenoise bandpass "$1" 3q vol 0.3
  mix "pop$v" "p$v" "p${v}n"
  finish "TYPE4-5$v" "pop$v" $TYPING_RMS
  shift
done

# Set 6: a deep thock.
gen t6a 0.04 brownnoise lowpass 500 fade l 0 0.04 0.035
tone t6b 0.07 sine 150 0.06
mix t6 t6a t6b
finish TYPE6 t6 $TYPING_RMS

# Set 7: a high tick.
tone t7 0.012 sine 4000 0.01
finish TYPE7 t7 $TYPING_RMS

# Set 8 (also the quick-response drill): a crisp, neutral click.
tone t8 0.012 square 1000 0.01 lowpass 5000
finish TYPE8 t8 $TYPING_RMS

# Set 9: a bubble pop (a quick rise).
gen t9 0.045 sine 400-1400 fade l 0.002 0.045 0.02
finish TYPE9 t9 $TYPING_RMS

# Set 10: a marimba note.
tone t10a 0.14 sine 523.25 0.13; tone t10b 0.05 sine 2093 0.04 vol 0.3
mix t10 t10a t10b
finish TYPE10 t10 $TYPING_RMS

# Set 11: a glassy ting.
tone t11a 0.16 sine 2637 0.15; tone t11b 0.16 sine 3951 0.10 vol 0.3
mix t11 t11a t11b
finish TYPE11 t11 $TYPING_RMS

# Set 12: a short digital beep.
tone t12 0.03 square 1760 0.005 lowpass 6000
finish TYPE12 t12 $TYPING_RMS

# Set 13: a drum tap: a falling body and a noise snap.
gen t13a 0.08 sine 260-90 fade l 0.001 0.08 0.07
gen t13b 0.015 whitenoise bandpass 1500 1q vol 0.5
mix t13 t13a t13b
finish TYPE13 t13 $TYPING_RMS

# Set 14: a retro game blip (square, rising).
gen t14 0.05 square 600-900 lowpass 4000 fade t 0.002 0.05 0.01
finish TYPE14 t14 $TYPING_RMS

# Set 15: a soft paper tap.
gen t15 0.03 pinknoise lowpass 1200 fade l 0.002 0.03 0.025
finish TYPE15 t15 $TYPING_RMS

# Set 16: a water drop (a quick rise with a ring).
gen t16 0.07 sine 700-1900 fade l 0.001 0.07 0.06
finish TYPE16 t16 $TYPING_RMS

echo "Wrote $(ls "$OUT"/*.dat | wc -l) files to $OUT"
