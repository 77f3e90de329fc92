#include "speech/SpeechComponents.h"

#include "speech/AgentArtwork.h"
#include "speech/SpeechSynth.h"
#include "speech/SpeechTable.h"

namespace {
QString AptInstall(const char *packages)
{
    return QStringLiteral("sudo apt-get install ") + QString::fromLatin1(packages);
}
} // namespace

bool TSpeechComponentReport::Lacks(TSpeechComponent c) const
{
    for (const TMissingSpeechComponent &m : missing)
        if (m.component == c)
            return true;
    return false;
}

QString TSpeechComponentReport::InstallCommand() const
{
    if (Lacks(TSpeechComponent::Engine))
        return AptInstall(kEnginePackages);
    if (Lacks(TSpeechComponent::Voice))
        return AptInstall(kVoicePackages);
    return {};
}

QString VoiceInstallCommand()
{
    return AptInstall(TSpeechSynth::EngineUsable() ? kVoicePackages : kEnginePackages);
}

TSpeechComponentReport CheckSpeechComponents(int languageId, const QString &artworkPath)
{
    TSpeechComponentReport report;
    if (!TSpeechSynth::EngineUsable()) {
        report.missing.append({TSpeechComponent::Engine,
                               QStringLiteral("音声合成エンジン espeak-ng とその音声データ")});
    } else if (!TSpeechSynth::HasVoice(languageId)) {
        report.missing.append({TSpeechComponent::Voice,
                               SpeechLanguageName(languageId) + QStringLiteral("の音声（espeak-ng の音声データ）")});
    }
    const bool artwork = artworkPath.isEmpty() ? TAgentArtwork::Present() : TAgentArtwork::Present(artworkPath);
    if (!artwork)
        report.missing.append({TSpeechComponent::Artwork, QStringLiteral("インコのキャラクター画像")});
    return report;
}
