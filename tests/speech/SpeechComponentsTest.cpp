#include "speech/SpeechComponents.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(SpeechComponents, EverythingIsHereForEveryLanguageOfTheTable)
{
    for (int lang : {1033, 2057, 1040, 1036, 1031, 3082, 1046, 1049, 1041, 1042, 1043}) {
        const TSpeechComponentReport r = CheckSpeechComponents(lang);
        EXPECT_TRUE(r.AllPresent()) << lang;
        EXPECT_TRUE(r.InstallCommand().isEmpty());
    }
}

TEST(SpeechComponents, AMissingVoiceNamesTheLanguageAndTheInstallCommand)
{
    const TSpeechComponentReport r = CheckSpeechComponents(1044);
    ASSERT_EQ(r.missing.size(), 1);
    EXPECT_EQ(r.missing[0].component, TSpeechComponent::Voice);
    EXPECT_TRUE(r.missing[0].description.contains(QStringLiteral("の音声")));
    EXPECT_EQ(r.InstallCommand(), QStringLiteral("sudo apt-get install espeak-ng-data"));
    EXPECT_FALSE(r.NeedsReinstall());
}

TEST(SpeechComponents, MissingArtworkAsksForTheProgramAgain)
{
    TTempProgramFolder folder;
    const TSpeechComponentReport r = CheckSpeechComponents(1033, folder.file(QStringLiteral("bird.svg")));
    ASSERT_EQ(r.missing.size(), 1);
    EXPECT_EQ(r.missing[0].component, TSpeechComponent::Artwork);
    EXPECT_EQ(r.missing[0].description, QStringLiteral("インコのキャラクター画像"));
    EXPECT_TRUE(r.NeedsReinstall());
    EXPECT_TRUE(r.InstallCommand().isEmpty());

    const TSpeechComponentReport both = CheckSpeechComponents(1044, folder.file(QStringLiteral("bird.svg")));
    EXPECT_EQ(both.missing.size(), 2);
    EXPECT_EQ(both.InstallCommand(), QStringLiteral("sudo apt-get install espeak-ng-data"));
}
