#include "PlatformServices.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

TEST(PowerControl, RefusesWhileTestsOrCiRun) {
    // The test script sets CHENFAN_FORBID_POWER_OFF; CI sets CI. Either must keep the real
    // power-off from ever reaching the system.
    qputenv("CHENFAN_FORBID_POWER_OFF", "1");
    ASSERT_TRUE(platform::powerOffForbiddenByEnvironment());
    auto power = platform::makeSystemPowerControl();
    EXPECT_FALSE(power->SetPrivilege(QStringLiteral("SeShutdownPrivilege"), true));
    EXPECT_FALSE(power->PowerOff());
}

TEST(CompletionSound, TheBuildMakesAPlayableChime) {
    const QString wav = qEnvironmentVariable("CHENFAN_SOUND");
    ASSERT_FALSE(wav.isEmpty());
    EXPECT_EQ(testmedia::probe(wav, "stream=codec_name,sample_rate,channels"),
              QStringLiteral("pcm_s16le\n44100\n1"));
    const double seconds = testmedia::probe(wav, "format=duration").toDouble();
    EXPECT_GT(seconds, 0.8);
    EXPECT_LT(seconds, 2.0);
}
