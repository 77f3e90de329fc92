#include "speech/AgentAnimations.h"

#include <QHash>
#include <algorithm>
#include <functional>

namespace {

using TPoseEdit = std::function<void(TAgentPose &)>;

// Writes an animation as a chain of steps: each step takes `ms` to reach the
// pose that `edit` makes of the previous one.
class TAnimationBuilder {
public:
    explicit TAnimationBuilder(const QString &name, const TAgentPose &start = {})
    {
        m_anim.name = name;
        m_anim.keys.push_back({0, start});
        m_pose = start;
    }
    TAnimationBuilder &By(int ms, const TPoseEdit &edit)
    {
        edit(m_pose);
        m_time += ms;
        m_anim.keys.push_back({m_time, m_pose});
        return *this;
    }
    TAnimationBuilder &Hold(int ms)
    {
        return By(ms, [](TAgentPose &) {});
    }
    // Back to the rest pose; a prop fades where it is.
    TAnimationBuilder &Rest(int ms)
    {
        return By(ms, [](TAgentPose &p) {
            const TAgentPose old = p;
            p = TAgentPose{};
            p.prop = old.prop;
            p.propX = old.propX;
            p.propY = old.propY;
            p.propAngle = old.propAngle;
            p.propScale = old.propScale;
            p.propOpacity = 0;
        });
    }
    TAnimationBuilder &Repeat(int times, const std::function<void(TAnimationBuilder &)> &steps)
    {
        for (int i = 0; i < times; ++i)
            steps(*this);
        return *this;
    }
    TAgentAnimation Done(bool keepLastPose = false)
    {
        m_anim.keepLastPose = keepLastPose;
        return m_anim;
    }

private:
    TAgentAnimation m_anim;
    TAgentPose m_pose;
    int m_time = 0;
};

TPoseEdit Prop(TAgentProp prop, double scale = 1)
{
    return [prop, scale](TAgentPose &p) {
        p.prop = prop;
        p.propOpacity = 1;
        p.propScale = scale;
        p.propX = p.propY = p.propAngle = 0;
    };
}

TPoseEdit Also(TPoseEdit a, TPoseEdit b)
{
    return [a, b](TAgentPose &p) {
        a(p);
        b(p);
    };
}

TAgentAnimation Vanish(const QString &name)
{
    return TAnimationBuilder(name)
        .By(150, [](TAgentPose &p) { p.stretch = 0.9; p.y = 4; })
        .By(200, [](TAgentPose &p) {
            p.stretch = 1.1; p.y = -18; p.wingNear = 70; p.wingFar = 70; p.lid = 0.4;
        })
        .By(280, Also(Prop(TAgentProp::Puff, 0.8), [](TAgentPose &p) {
            p.scale = 0.15; p.opacity = 0; p.y = -26;
        }))
        .By(260, [](TAgentPose &p) { p.propOpacity = 0; p.propScale = 1.5; })
        .Done(true);
}

TAgentAnimation Appear()
{
    TAgentPose start;
    start.scale = 0.15;
    start.opacity = 0;
    start.prop = TAgentProp::Puff;
    start.propOpacity = 1;
    start.propScale = 0.7;
    return TAnimationBuilder(QStringLiteral("Show"), start)
        .By(260, [](TAgentPose &p) {
            p.scale = 1.08; p.opacity = 1; p.propScale = 1.4; p.propOpacity = 0.2;
            p.wingNear = 50; p.wingFar = 50;
        })
        .By(160, [](TAgentPose &p) { p.scale = 0.97; p.propOpacity = 0; p.wingNear = 10; p.wingFar = 10; })
        .Rest(140)
        .Done();
}

QHash<QString, TAgentAnimation> BuildAnimations()
{
    QList<TAgentAnimation> list;

    list << TAnimationBuilder(QStringLiteral("Greet"))
                .By(220, [](TAgentPose &p) { p.stretch = 0.93; p.y = 3; })
                .By(240, Also(Prop(TAgentProp::Sparkle, 0.7), [](TAgentPose &p) {
                    p.stretch = 1.05; p.y = -10; p.wingNear = 70; p.wingFar = 35; p.beak = 0.5;
                }))
                .By(180, [](TAgentPose &p) { p.wingNear = 135; p.headTilt = -8; p.propScale = 1; p.y = 0; p.stretch = 1; })
                .By(170, [](TAgentPose &p) { p.wingNear = 100; p.beak = 0.2; })
                .By(170, [](TAgentPose &p) { p.wingNear = 135; p.beak = 0.6; })
                .By(170, [](TAgentPose &p) { p.wingNear = 100; p.beak = 0.1; p.propOpacity = 0; })
                .By(300, [](TAgentPose &p) {
                    p.tilt = 12; p.headTilt = 16; p.headY = 4; p.wingNear = 15; p.wingFar = 5; p.smile = 0.75; p.beak = 0;
                })
                .Hold(200)
                .Rest(320)
                .Done();

    list << Vanish(QStringLiteral("Hide"));

    list << TAnimationBuilder(QStringLiteral("Wave"))
                .By(240, [](TAgentPose &p) { p.wingNear = 125; p.headTilt = -6; p.beak = 0.3; p.smile = 0.55; })
                .Repeat(3, [](TAnimationBuilder &b) {
                    b.By(170, [](TAgentPose &p) { p.wingNear = 88; p.tilt = -3; })
                        .By(170, [](TAgentPose &p) { p.wingNear = 128; p.tilt = 2; });
                })
                .Rest(300)
                .Done();

    list << TAnimationBuilder(QStringLiteral("RestPose"))
                .By(180, [](TAgentPose &p) { p.stretch = 0.96; p.y = 2; p.wingNear = 8; p.wingFar = 8; })
                .Rest(260)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Alert"))
                .By(110, [](TAgentPose &p) { p.stretch = 0.9; p.y = 3; })
                .By(170, Also(Prop(TAgentProp::Exclaim, 1.3), [](TAgentPose &p) {
                    p.stretch = 1.1; p.y = -8; p.wingNear = 35; p.wingFar = 35; p.headY = -4; p.lookY = -1;
                }))
                .By(140, [](TAgentPose &p) { p.propScale = 1; p.y = -4; })
                .Hold(650)
                .Rest(300)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Pleased"))
                .By(150, [](TAgentPose &p) { p.stretch = 0.9; p.y = 3; p.smile = 0.85; p.beak = 0.3; })
                .By(170, Also(Prop(TAgentProp::Heart, 0.8), [](TAgentPose &p) {
                    p.y = -18; p.stretch = 1.06; p.wingNear = 45; p.wingFar = 45; p.beak = 0.4;
                }))
                .By(170, [](TAgentPose &p) { p.y = 0; p.stretch = 0.92; p.wingNear = 10; p.wingFar = 10; p.propScale = 1; })
                .By(170, [](TAgentPose &p) { p.y = -14; p.stretch = 1.05; p.wingNear = 45; p.wingFar = 45; p.propY = -8; })
                .By(170, [](TAgentPose &p) { p.y = 0; p.stretch = 0.95; p.wingNear = 5; p.wingFar = 5; p.propY = -14; })
                .By(280, [](TAgentPose &p) { p.stretch = 1; p.propY = -20; p.propScale = 1.1; })
                .Rest(380)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Acknowledge"))
                .By(170, [](TAgentPose &p) { p.headTilt = 12; p.headY = 6; p.smile = 0.5; })
                .By(150, [](TAgentPose &p) { p.headTilt = 0; p.headY = 0; })
                .By(170, [](TAgentPose &p) { p.headTilt = 12; p.headY = 6; })
                .Rest(240)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Surprised"))
                .By(100, [](TAgentPose &p) { p.stretch = 0.88; p.y = 3; })
                .By(150, Also(Prop(TAgentProp::Exclaim, 1.4), [](TAgentPose &p) {
                    p.y = -16; p.x = -6; p.tilt = -8; p.stretch = 1.12; p.wingNear = 95; p.wingFar = 85;
                    p.beak = 1; p.headY = -6; p.lookX = -1;
                }))
                .By(180, [](TAgentPose &p) { p.y = -8; p.propScale = 1; p.wingNear = 80; p.wingFar = 70; })
                .Hold(550)
                .Rest(400)
                .Done();

    list << TAnimationBuilder(QStringLiteral("GetAttentionContinued"))
                .Repeat(4, [](TAnimationBuilder &b) {
                    b.By(110, Also(Prop(TAgentProp::Exclaim, 1), [](TAgentPose &p) {
                         p.y = -10; p.wingNear = 115; p.wingFar = 100; p.beak = 0.7; p.propY = -4;
                     }))
                        .By(110, [](TAgentPose &p) { p.y = 0; p.wingNear = 55; p.wingFar = 45; p.beak = 0.2; p.propY = 0; });
                })
                .Hold(150)
                .Rest(300)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Sad"))
                .By(500, Also(Prop(TAgentProp::Drop, 1), [](TAgentPose &p) {
                    p.headTilt = 14; p.headY = 6; p.lid = 0.55; p.stretch = 0.94; p.y = 3; p.tail = -8;
                    p.wingNear = -6; p.wingFar = -6; p.lookY = 2; p.lookX = -1;
                }))
                .By(700, [](TAgentPose &p) { p.propY = 16; })
                .By(300, [](TAgentPose &p) { p.propY = 22; p.propOpacity = 0; })
                .Hold(200)
                .Rest(500)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Decline"))
                .By(150, [](TAgentPose &p) { p.headTilt = -10; p.headX = -4; p.lid = 0.7; p.wingNear = 30; })
                .Repeat(2, [](TAnimationBuilder &b) {
                    b.By(140, [](TAgentPose &p) { p.headTilt = 10; p.headX = 4; })
                        .By(140, [](TAgentPose &p) { p.headTilt = -10; p.headX = -4; });
                })
                .Rest(320)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Uncertain"))
                .By(350, Also(Prop(TAgentProp::Question, 1), [](TAgentPose &p) {
                    p.headTilt = -14; p.lookX = -2; p.lookY = -3; p.tilt = -3;
                }))
                .By(350, [](TAgentPose &p) { p.propAngle = 10; })
                .By(350, [](TAgentPose &p) { p.propAngle = -6; })
                .Rest(380)
                .Done();

    list << TAnimationBuilder(QStringLiteral("DontRecognize"))
                .By(300, Also(Prop(TAgentProp::Question, 1.2), [](TAgentPose &p) {
                    p.wingNear = 55; p.wingFar = 55; p.headY = 4; p.headTilt = 10; p.beak = 0.3; p.lid = 0.2;
                    p.propAngle = -10;
                }))
                .By(200, [](TAgentPose &p) { p.wingNear = 38; p.wingFar = 38; p.propScale = 1; })
                .By(200, [](TAgentPose &p) { p.wingNear = 55; p.wingFar = 55; p.propAngle = 6; })
                .Hold(450)
                .Rest(400)
                .Done();

    list << TAnimationBuilder(QStringLiteral("StopListening"))
                .By(250, Also(Prop(TAgentProp::Dots, 0.9), [](TAgentPose &p) {
                    p.lid = 0.9; p.headTilt = -6; p.headX = -3;
                }))
                .By(400, [](TAgentPose &p) { p.propOpacity = 0; p.propScale = 0.6; })
                .Hold(180)
                .Rest(300)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Hearing_1"))
                .By(300, Also(Prop(TAgentProp::Note, 1), [](TAgentPose &p) {
                    p.tilt = 6; p.headTilt = -12; p.wingNear = 75; p.lookX = -2; p.lookY = -1;
                }))
                .By(240, [](TAgentPose &p) { p.propY = -5; p.propAngle = -10; })
                .By(240, [](TAgentPose &p) { p.propY = 0; p.propAngle = 10; })
                .By(240, [](TAgentPose &p) { p.propY = -5; p.propAngle = -10; })
                .Rest(380)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Hearing_2"))
                .By(300, Also(Prop(TAgentProp::Note, 0.9), [](TAgentPose &p) {
                    p.tilt = -5; p.headTilt = 12; p.wingFar = 75; p.lookX = 2; p.lookY = -2; p.lid = 0.2;
                    p.propX = -6;
                }))
                .By(300, [](TAgentPose &p) { p.propY = -8; p.propX = -2; p.propScale = 1.1; })
                .By(300, [](TAgentPose &p) { p.propY = -14; p.propX = -6; p.propOpacity = 0.6; })
                .Rest(380)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Think"))
                .By(400, Also(Prop(TAgentProp::Dots, 1), [](TAgentPose &p) {
                    p.wingNear = 100; p.headTilt = -8; p.lookX = 1; p.lookY = -4;
                }))
                .By(500, [](TAgentPose &p) { p.headTilt = -3; p.propScale = 1.08; })
                .By(500, [](TAgentPose &p) { p.headTilt = -9; p.propScale = 1; })
                .Rest(450)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Blink"))
                .By(90, [](TAgentPose &p) { p.lid = 1; })
                .By(150, [](TAgentPose &p) { p.lid = 0; })
                .Done();

    list << TAnimationBuilder(QStringLiteral("Idle2_1"))
                .By(380, [](TAgentPose &p) { p.lookX = -3; p.headTilt = -5; p.headX = -2; })
                .Hold(300)
                .By(420, [](TAgentPose &p) { p.lookX = 3; p.headTilt = 5; p.headX = 2; })
                .Hold(300)
                .Rest(380)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Idle2_2"))
                .By(400, [](TAgentPose &p) {
                    p.headTilt = -24; p.headX = -8; p.headY = 10; p.wingNear = 22; p.lid = 0.5; p.beak = 0.3;
                })
                .Repeat(2, [](TAnimationBuilder &b) {
                    b.By(150, [](TAgentPose &p) { p.beak = 0; p.headY = 12; })
                        .By(150, [](TAgentPose &p) { p.beak = 0.4; p.headY = 10; });
                })
                .Rest(450)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Idle3_1"))
                .By(500, [](TAgentPose &p) {
                    p.beak = 1; p.lid = 0.9; p.stretch = 1.06; p.headTilt = -10; p.wingNear = 20; p.wingFar = 20;
                })
                .Hold(550)
                .By(400, [](TAgentPose &p) { p.beak = 0; p.lid = 0.5; p.stretch = 1; p.headTilt = 0; })
                .Rest(400)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Idle3_2"))
                .By(500, Also(Prop(TAgentProp::Zzz, 0.8), [](TAgentPose &p) {
                    p.lid = 1; p.headTilt = 10; p.headY = 5; p.stretch = 0.96;
                }))
                .By(600, [](TAgentPose &p) { p.headY = 8; p.propY = -6; p.propScale = 1; })
                .By(600, [](TAgentPose &p) { p.headY = 5; p.propY = -12; p.propScale = 1.1; })
                .By(400, [](TAgentPose &p) { p.headY = 2; p.lid = 0.6; p.propY = -18; p.propOpacity = 0; })
                .Rest(380)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Idle3_3"))
                .By(480, [](TAgentPose &p) { p.wingNear = 150; p.tilt = 6; p.headTilt = 6; p.lid = 0.3; })
                .Hold(280)
                .By(300, [](TAgentPose &p) { p.wingNear = 0; p.tilt = 0; })
                .By(420, [](TAgentPose &p) { p.wingFar = 115; p.tilt = -6; p.headTilt = -6; })
                .Hold(200)
                .Rest(380)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Reading"))
                .By(400, Also(Prop(TAgentProp::Book, 1), [](TAgentPose &p) {
                    p.wingNear = 35; p.wingFar = 25; p.headTilt = 10; p.headY = 3; p.lookY = 3; p.lookX = -2;
                }))
                .Repeat(3, [](TAnimationBuilder &b) {
                    b.By(480, [](TAgentPose &p) { p.lookX = 2; })
                        .By(140, [](TAgentPose &p) { p.lookX = -2; p.propAngle = p.propAngle == 0 ? 2 : 0; });
                })
                .Rest(400)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Writing"))
                .By(350, Also(Prop(TAgentProp::Pencil, 1), [](TAgentPose &p) {
                    p.headTilt = 12; p.headY = 3; p.lookY = 3; p.lookX = -1; p.wingNear = 45;
                }))
                .Repeat(4, [](TAnimationBuilder &b) {
                    b.By(190, [](TAgentPose &p) { p.propX = 7; p.propY = 2; p.propAngle = 8; p.lookX = 1; })
                        .By(190, [](TAgentPose &p) { p.propX = -3; p.propY = 0; p.propAngle = -4; p.lookX = -1; });
                })
                .Rest(400)
                .Done();

    list << TAnimationBuilder(QStringLiteral("Processing"))
                .By(300, Also(Prop(TAgentProp::Gear, 0.8), [](TAgentPose &p) { p.lookY = -4; p.headTilt = -6; }))
                .Repeat(5, [](TAnimationBuilder &b) {
                    b.By(180, [](TAgentPose &p) { p.propAngle += 45; p.propScale = 1; p.wingNear = 22; })
                        .By(180, [](TAgentPose &p) { p.propAngle += 45; p.wingNear = 4; });
                })
                .Rest(400)
                .Done();

    QHash<QString, TAgentAnimation> byName;
    for (const TAgentAnimation &a : list)
        byName.insert(a.name, a);
    return byName;
}

const QHash<QString, TAgentAnimation> &Animations()
{
    static const QHash<QString, TAgentAnimation> all = BuildAnimations();
    return all;
}

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

} // namespace

TAgentPose BlendPoses(const TAgentPose &from, const TAgentPose &to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const double e = t * t * (3 - 2 * t);   // ease in and out
    TAgentPose p;
    p.x = Lerp(from.x, to.x, e);
    p.y = Lerp(from.y, to.y, e);
    p.tilt = Lerp(from.tilt, to.tilt, e);
    p.stretch = Lerp(from.stretch, to.stretch, e);
    p.scale = Lerp(from.scale, to.scale, e);
    p.opacity = Lerp(from.opacity, to.opacity, e);
    p.headTilt = Lerp(from.headTilt, to.headTilt, e);
    p.headX = Lerp(from.headX, to.headX, e);
    p.headY = Lerp(from.headY, to.headY, e);
    p.wingNear = Lerp(from.wingNear, to.wingNear, e);
    p.wingFar = Lerp(from.wingFar, to.wingFar, e);
    p.tail = Lerp(from.tail, to.tail, e);
    p.lid = Lerp(from.lid, to.lid, e);
    p.smile = Lerp(from.smile, to.smile, e);
    p.lookX = Lerp(from.lookX, to.lookX, e);
    p.lookY = Lerp(from.lookY, to.lookY, e);
    p.beak = Lerp(from.beak, to.beak, e);
    // A prop that appears or vanishes keeps its looks while it fades.
    const bool toShows = to.propOpacity > 0 && to.prop != TAgentProp::None;
    const TAgentPose &shape = (toShows || from.prop == TAgentProp::None) ? to : from;
    p.prop = toShows ? to.prop : from.prop;
    p.propOpacity = Lerp(from.prop == p.prop ? from.propOpacity : 0, to.prop == p.prop ? to.propOpacity : 0, e);
    const bool sameProp = from.prop == to.prop;
    p.propX = sameProp ? Lerp(from.propX, to.propX, e) : shape.propX;
    p.propY = sameProp ? Lerp(from.propY, to.propY, e) : shape.propY;
    p.propAngle = sameProp ? Lerp(from.propAngle, to.propAngle, e) : shape.propAngle;
    p.propScale = sameProp ? Lerp(from.propScale, to.propScale, e) : shape.propScale;
    return p;
}

TAgentPose TAgentAnimation::PoseAt(int ms) const
{
    if (keys.empty())
        return {};
    if (ms <= 0)
        return keys.front().pose;
    for (size_t i = 1; i < keys.size(); ++i) {
        if (ms <= keys[i].atMs) {
            const int span = keys[i].atMs - keys[i - 1].atMs;
            const double t = span > 0 ? double(ms - keys[i - 1].atMs) / span : 1.0;
            return BlendPoses(keys[i - 1].pose, keys[i].pose, t);
        }
    }
    return keys.back().pose;
}

const TAgentAnimation *FindAgentAnimation(const QString &name)
{
    const auto &all = Animations();
    const auto it = all.constFind(name);
    return it == all.constEnd() ? nullptr : &it.value();
}

QStringList AgentAnimationNames()
{
    QStringList names = Animations().keys();
    names.sort();
    return names;
}

const TAgentAnimation &AgentAppearAnimation()
{
    static const TAgentAnimation a = Appear();
    return a;
}

const TAgentAnimation &AgentVanishAnimation()
{
    static const TAgentAnimation a = Vanish(QStringLiteral("Hide"));
    return a;
}
