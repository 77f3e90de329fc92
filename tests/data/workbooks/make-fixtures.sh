#!/bin/sh
# Makes the workbook fixtures beside this script with gnumeric's ssconvert
# (run once; the .xls files are committed). Needs: apt-get install gnumeric
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
{
  printf 'apple,りんご,林檎\n'
  printf '\n'
  printf '1984,年号,3.5\n'
  printf 'apple,重複した行\n'
  printf 'ghost,\n'
  printf 'Zebra,シマウマ\n'
  printf 'banana,バナナ,甘い,黄色,果物,房,熟す,七つ目\n'
  i=0; while [ $i -lt 75 ]; do printf '\n'; i=$((i+1)); done
  printf 'cherry,さくらんぼ\n'
  i=0; while [ $i -lt 77 ]; do printf '\n'; i=$((i+1)); done
  printf 'lost,読まれない\n'
} > "$tmp/rules.csv"
printf 'other,別のシート\n' > "$tmp/second.csv"
ssconvert --merge-to=rules.xls "$tmp/rules.csv" "$tmp/second.csv"
printf 'alpha,アルファ\nbravo,ブラボー\ncharlie,チャーリー\ndelta,デルタ\n' > "$tmp/before.csv"
ssconvert "$tmp/before.csv" before.xls
# reordered, charlie deleted, echo added
printf 'delta,デルタ\nbravo,ブラボー\necho,エコー\nalpha,アルファ\n' > "$tmp/after.csv"
ssconvert "$tmp/after.csv" after.xls
ssconvert "$tmp/before.csv" saved-as-xlsx.xls -T Gnumeric_Excel:xlsx
