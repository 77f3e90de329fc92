#pragma once
// The star view of a learning file: every word is a star at its stored
// position, brighter as it is learned, redder with misses and resets,
// greener the longer it has been known; bright stars and planets appear as
// more words leave stage 1, and a galaxy once a thousand have. Computed here
// with fresh random draws on every opening (the stars flicker a little, their
// places stay); the window only paints it.
#include "data/WordTable.h"

#include <QDate>
#include <array>

class TRandom;

inline constexpr int kSkyWidth = 1024;
inline constexpr int kSkyHeight = 768;
inline constexpr int kSmallPictures = 10;
inline constexpr int kGalaxies = 7;

struct TStarColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The colour of one word's star.
TStarColour StarColour(const TTango &word, const QDate &today, TRandom &random);

struct TSkyPicture {
    int left = 0;
    int top = 0;
    bool shown = false;
};

struct TSkyLayout {
    std::array<TSkyPicture, kSmallPictures> small{};
    int galaxy = -1;              // the galaxy shown (its place is fixed), or none
    bool labelsShown = false;     // the three lines of a sky that is still dark
    int wordsBeyondStage1 = 0;    // S
};

// Where the pictures go and which are shown, for the words 1..wordCount.
TSkyLayout ArrangeSky(const TWordTable &words, int wordCount, int specialStar, int galaxyIndex);
