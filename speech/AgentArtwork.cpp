#include "speech/AgentArtwork.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <array>
#include <cmath>

namespace {

// Pivots of the moving parts, in art units.
constexpr QPointF kFeet(110, 188);
constexpr QPointF kMiddle(110, 135);
constexpr QPointF kTailRoot(100, 158);
constexpr QPointF kNearShoulder(86, 106);
constexpr QPointF kFarShoulder(126, 112);
constexpr QPointF kNeck(110, 108);
constexpr QPointF kBeakHinge(112, 90);
constexpr QPointF kAboveHead(100, 38);   // where a balloon above the bird points
constexpr QPointF kBelowFeet(110, 226);  // where a balloon below it points
constexpr double kBeakOpenDegrees = 26;
constexpr double kSquashWidening = 0.6;   // a squashed bird gets this much wider
constexpr double kHiddenLid = 0.03;       // eyelids below this are not drawn

struct TPropPart {
    TAgentProp prop;
    const char *id;
};
constexpr std::array<TPropPart, 12> kPropParts{{
    {TAgentProp::Exclaim, "prop_exclaim"},
    {TAgentProp::Question, "prop_question"},
    {TAgentProp::Heart, "prop_heart"},
    {TAgentProp::Note, "prop_note"},
    {TAgentProp::Drop, "prop_drop"},
    {TAgentProp::Dots, "prop_dots"},
    {TAgentProp::Zzz, "prop_zzz"},
    {TAgentProp::Book, "prop_book"},
    {TAgentProp::Pencil, "prop_pencil"},
    {TAgentProp::Gear, "prop_gear"},
    {TAgentProp::Sparkle, "prop_sparkle"},
    {TAgentProp::Puff, "prop_puff"},
}};

const char *const kBodyParts[] = {
    "perch", "tail", "wing_far", "feet", "body", "wing_near", "head", "mouth", "beak_lower",
    "beak_upper", "eye_far", "pupil_far", "lid_far", "eye_near", "pupil_near", "lid_near",
};

void RotateAbout(QTransform &t, QPointF c, double degrees)
{
    t.translate(c.x(), c.y());
    t.rotate(degrees);
    t.translate(-c.x(), -c.y());
}

void ScaleAbout(QTransform &t, QPointF c, double sx, double sy)
{
    t.translate(c.x(), c.y());
    t.scale(sx, sy);
    t.translate(-c.x(), -c.y());
}

QString Id(const char *id) { return QString::fromLatin1(id); }

} // namespace

QStringList TAgentArtwork::RequiredParts()
{
    QStringList parts;
    for (const char *id : kBodyParts)
        parts << Id(id);
    for (const TPropPart &p : kPropParts)
        parts << Id(p.id);
    return parts;
}

bool TAgentArtwork::Present(const QString &path) { return TAgentArtwork(path).IsValid(); }

TAgentArtwork::TAgentArtwork(const QString &path)
{
    if (!QFile::exists(path) || !m_svg.load(path) || !m_svg.isValid())
        return;
    m_size = m_svg.viewBoxF().size();
    for (const QString &id : RequiredParts()) {
        if (m_svg.elementExists(id))
            m_bounds.insert(id, m_svg.boundsOnElement(id));
        else
            m_missing << id;
    }
    m_valid = m_missing.isEmpty() && !m_size.isEmpty();
}

QPointF TAgentArtwork::BalloonAnchor(bool above) const { return above ? kAboveHead : kBelowFeet; }

void TAgentArtwork::Draw(QPainter &p, const QString &id) const
{
    // The element's own bounds as the target: it is drawn where the drawing
    // puts it, under whatever transform the painter holds.
    m_svg.render(&p, id, Bounds(id));
}

void TAgentArtwork::Paint(QPainter &p, const TAgentPose &pose) const
{
    if (!m_valid || pose.opacity <= 0.001) {
        if (!m_valid || pose.propOpacity <= 0.001)
            return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QTransform base = p.worldTransform();
    const double opacity = std::clamp(pose.opacity, 0.0, 1.0);

    auto drawWith = [&](const QString &id, const QTransform &local) {
        p.setWorldTransform(local * base);
        Draw(p, id);
    };

    // The perch stays put; it fades with the bird.
    p.setOpacity(opacity);
    if (opacity > 0.001)
        drawWith(Id("perch"), QTransform());

    QTransform bird;
    bird.translate(pose.x, pose.y);
    RotateAbout(bird, kFeet, pose.tilt);
    ScaleAbout(bird, kFeet, 1 + (1 - pose.stretch) * kSquashWidening, pose.stretch);
    ScaleAbout(bird, kMiddle, pose.scale, pose.scale);

    if (opacity > 0.001) {
        QTransform tail = bird;
        RotateAbout(tail, kTailRoot, pose.tail);
        QTransform farWing = bird;
        RotateAbout(farWing, kFarShoulder, -pose.wingFar);
        QTransform nearWing = bird;
        RotateAbout(nearWing, kNearShoulder, pose.wingNear);
        QTransform head = bird;
        head.translate(pose.headX, pose.headY);
        RotateAbout(head, kNeck, pose.headTilt);

        drawWith(Id("tail"), tail);
        drawWith(Id("wing_far"), farWing);
        drawWith(Id("feet"), bird);
        drawWith(Id("body"), bird);
        drawWith(Id("wing_near"), nearWing);
        drawWith(Id("head"), head);

        drawWith(Id("mouth"), head);
        QTransform jaw = head;
        RotateAbout(jaw, kBeakHinge, std::clamp(pose.beak, 0.0, 1.0) * kBeakOpenDegrees);
        drawWith(Id("beak_lower"), jaw);
        drawWith(Id("beak_upper"), head);

        for (const char *side : {"far", "near"}) {
            const QString eye = QStringLiteral("eye_") + Id(side);
            const QRectF eyeBox = Bounds(eye);
            drawWith(eye, head);
            p.save();
            p.setWorldTransform(head * base);
            QPainterPath inside;
            inside.addEllipse(eyeBox.adjusted(1, 1, -1, -1));
            p.setClipPath(inside);
            QTransform pupil = head;
            pupil.translate(pose.lookX, pose.lookY);
            drawWith(QStringLiteral("pupil_") + Id(side), pupil);
            p.restore();
            const double lid = std::clamp(pose.lid, 0.0, 1.0);
            const QString lidId = QStringLiteral("lid_") + Id(side);
            const QRectF lidBox = Bounds(lidId);
            if (lid > kHiddenLid) {
                // The upper lid comes down from the top of the eye.
                QTransform lidT = head;
                ScaleAbout(lidT, QPointF(lidBox.center().x(), lidBox.top()), 1, lid);
                drawWith(lidId, lidT);
            }
            const double smile = std::clamp(pose.smile, 0.0, 1.0);
            if (smile > kHiddenLid) {
                // The same lid upside down rises from below: happy arcs.
                QTransform lowT = head;
                lowT.translate(lidBox.center().x(), lidBox.bottom());
                lowT.scale(1, -smile);
                lowT.translate(-lidBox.center().x(), -lidBox.top());
                drawWith(lidId, lowT);
            }
        }
    }

    if (pose.prop != TAgentProp::None && pose.propOpacity > 0.001) {
        for (const TPropPart &part : kPropParts) {
            if (part.prop != pose.prop)
                continue;
            const QString id = Id(part.id);
            const QPointF c = Bounds(id).center();
            QTransform t;
            t.translate(pose.x + pose.propX, pose.y + pose.propY);
            RotateAbout(t, c, pose.propAngle);
            ScaleAbout(t, c, pose.propScale, pose.propScale);
            p.setOpacity(std::clamp(pose.propOpacity, 0.0, 1.0));
            drawWith(id, t);
        }
    }
    p.restore();
}
