#pragma once
// The parakeet's animations: each name is a short sequence of key poses that
// the agent window eases between. A pose says how the parts of the artwork
// sit (bird, head, wings, tail, eyelids, pupils, beak) and which small prop
// (a "!" or a book, ...) shows beside the bird.
#include <QString>
#include <QStringList>
#include <vector>

enum class TAgentProp {
    None, Exclaim, Question, Heart, Note, Drop, Dots, Zzz, Book, Pencil, Gear, Sparkle, Puff,
};

struct TAgentPose {
    double x = 0, y = 0;        // whole bird offset (art units)
    double tilt = 0;            // whole bird lean about the feet (degrees, + leans right)
    double stretch = 1;         // height about the feet (1: at rest)
    double scale = 1;           // whole bird about its middle (appear, vanish)
    double opacity = 1;
    double headTilt = 0;        // degrees about the neck (+ tilts right)
    double headX = 0, headY = 0;
    double wingNear = 0;        // degrees the front wing is raised
    double wingFar = 0;         // degrees the back wing is raised
    double tail = 0;            // degrees the tail swings
    double lid = 0;             // eyelids: 0 open .. 1 shut
    double smile = 0;           // lower lids rising: 0 open .. 1 happy arcs
    double lookX = 0, lookY = 0;// pupils (art units)
    double beak = 0;            // 0 shut .. 1 wide open
    TAgentProp prop = TAgentProp::None;
    double propOpacity = 0;
    double propX = 0, propY = 0;  // prop offset from its place in the artwork
    double propAngle = 0, propScale = 1;
};

// Eases between two poses (t 0..1); the prop of `to` wins when it shows.
TAgentPose BlendPoses(const TAgentPose &from, const TAgentPose &to, double t);

struct TAgentKey {
    int atMs;
    TAgentPose pose;
};

class TAgentAnimation {
public:
    QString name;
    std::vector<TAgentKey> keys;   // first at 0 ms, ascending
    bool keepLastPose = false;     // the bird stays as the last key leaves it (Hide)
    int DurationMs() const { return keys.empty() ? 0 : keys.back().atMs; }
    TAgentPose PoseAt(int ms) const;
};

// The animation of a name (exact, as the program names them); nullptr for a
// name the parakeet does not know.
const TAgentAnimation *FindAgentAnimation(const QString &name);
// Every name the parakeet plays.
QStringList AgentAnimationNames();

// The appearing and vanishing of Show and Hide.
const TAgentAnimation &AgentAppearAnimation();
const TAgentAnimation &AgentVanishAnimation();
