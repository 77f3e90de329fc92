#pragma once
// What speech needs on this machine: the espeak-ng engine with its data, a
// voice for the language to speak, and the parakeet's artwork. The check
// names what is missing, in Japanese, with the command that installs it.
#include <QList>
#include <QString>
#include <QStringList>

enum class TSpeechComponent { Engine, Voice, Artwork };

struct TMissingSpeechComponent {
    TSpeechComponent component;
    QString description;   // for the learner, in Japanese
};

struct TSpeechComponentReport {
    QList<TMissingSpeechComponent> missing;
    bool AllPresent() const { return missing.isEmpty(); }
    bool Lacks(TSpeechComponent c) const;
    // The commands that install what is missing (one per line); empty when
    // nothing can be installed by a command (only the artwork is missing).
    QString InstallCommand() const;
    // True when a missing part comes only with the program itself.
    bool NeedsReinstall() const { return Lacks(TSpeechComponent::Artwork); }
};

// Checks the engine, the voice for the language identifier and the artwork
// (at `artworkPath`, the built-in drawing when empty).
TSpeechComponentReport CheckSpeechComponents(int languageId, const QString &artworkPath = QString());

// The command that installs the engine's voices (the engine with them when
// the engine itself cannot start).
QString VoiceInstallCommand();

inline const char *const kEnginePackages = "libespeak-ng1 espeak-ng-data";
inline const char *const kVoicePackages = "espeak-ng-data";
