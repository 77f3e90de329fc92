#include "engine/CosmosSky.h"

#include "base/DateText.h"
#include "base/Random.h"
#include "data/RecordFile.h"
#include "engine/MasteryLevels.h"

#include <QtGlobal>

namespace {
constexpr int kBrightest = 220;
constexpr int kExcludedBrightness = 150;
constexpr int kExcludedTint = 90;
constexpr int kGreenDays = 20;
constexpr int kGreenMost = 30;
constexpr int kPaleBelow = 110;
constexpr int kRedMost = 150;
constexpr int kDarkTwin = 140;
constexpr int kPictureStep = 33;
constexpr int kMiddleBandLeft = 300;
constexpr int kMiddleBandRight = 700;
constexpr int kPictureGap = 40;
constexpr int kGalaxyAfter = 999;
constexpr int kSpecialFirst = 5;

// The first stage-2 entry's date text ("2009/7/15"), empty without one.
QString FirstStage2Date(const TTango &t)
{
    const qsizetype end = t.stage2History.indexOf(u'[');
    return end > 0 ? t.stage2History.left(end) : QString();
}
}

TStarColour StarColour(const TTango &t, const QDate &today, TRandom &random)
{
    const int level = t.level;
    int v = 0;
    int r = 0;
    int g = 0;
    int b = 0;
    if (level == kExcludedLevel) {
        v = kExcludedBrightness;
        g = kExcludedTint;
        b = kExcludedTint;
    } else if (level >= 10 && level <= kTopLevel) {
        v = 20 * level + t.timesAsked;
    } else if (level <= 9) {
        v = 14 * level + t.timesAsked;
    }
    if (v > kBrightest && random.Between(0, 99) != 1)
        v = kBrightest;
    const QString firstDate = FirstStage2Date(t);
    if (level >= kFirstStage2Level && level <= kTopLevel) {
        const auto date = ParseDateText(firstDate);
        g = date ? static_cast<int>(date->daysTo(today) / kGreenDays) : random.Between(0, 89);
        g = qMin(g, kGreenMost);
        if (v < kPaleBelow) {
            r = kPaleBelow - v;
            b = kPaleBelow - v;
        }
    }
    if (v + g > 255)
        g = 255 - v;
    r = qMin(4 * t.wrongCount + r + 30 * t.resetCount, kRedMost);
    if (v + r > 255)
        r = 255 - v;
    if (firstDate.size() >= 10 && firstDate.at(9) == u'7') {
        b = 70;
        if (random.Between(0, 1) == 1 && v > 120)
            v = 40;
        if (random.Between(0, 1) == 1 && v < kDarkTwin) {
            r = kDarkTwin - v;
            g = kDarkTwin - v;
        }
    }
    if (random.Between(0, 2) == 1 && v > 180)
        v -= random.Between(0, 89);
    const auto channel = [v](int tint) { return ((v + tint) % 256 + 256) % 256; };
    return {channel(r), channel(g), channel(b)};
}

TSkyLayout ArrangeSky(const TWordTable &words, int wordCount, int specialStar, int galaxyIndex)
{
    TSkyLayout layout;
    const int total = qBound(0, wordCount, kMaxWords);
    for (int p = 1; p <= total; ++p)
        layout.wordsBeyondStage1 += words[p].stage > TStage::One ? 1 : 0;
    const auto starAt = [&](int position) {
        return position >= 1 && position <= total ? std::pair{words[position].starX, words[position].starY}
                                                : std::pair{0, 0};
    };
    // Each picture sits on a star outside the middle band, apart from the
    // pictures before it.
    for (int p = 0; p < kSmallPictures; ++p) {
        TSkyPicture &picture = layout.small[static_cast<size_t>(p)];
        for (int k = kPictureStep;; k += kPictureStep) {
            const auto [x, y] = starAt(p + k);
            picture.left = x;
            picture.top = y;
            if (x < kMiddleBandLeft || x > kMiddleBandRight)
                break;
        }
        for (int q = 0; q < p; ++q) {
            const TSkyPicture &earlier = layout.small[static_cast<size_t>(q)];
            if (qAbs(picture.left - earlier.left) < kPictureGap)
                picture.left = starAt(p + 2).first;
            if (qAbs(picture.top - earlier.top) < kPictureGap)
                picture.top = starAt(p + 2).second;
        }
    }
    const int s = layout.wordsBeyondStage1;
    const int w = total;
    layout.small[0].shown = s > w / 10;
    layout.small[1].shown = s > w / 5;
    layout.small[2].shown = s > w / 3;
    layout.small[3].shown = s > w / 2;
    layout.small[4].shown = s > w - static_cast<int>(w * 0.2);
    for (int p = kSpecialFirst; p < kSmallPictures; ++p)
        layout.small[static_cast<size_t>(p)].shown = p == specialStar;
    layout.labelsShown = s < w / 10;
    if (s > kGalaxyAfter && galaxyIndex >= 0 && galaxyIndex < kGalaxies)
        layout.galaxy = galaxyIndex;
    return layout;
}
