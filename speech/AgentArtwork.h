#pragma once
// The parakeet's artwork: one SVG drawing whose parts (body, head, wings,
// tail, eyes, beak, props) are separate elements, painted one by one with
// the transforms a pose asks for.
#include "speech/AgentAnimations.h"

#include <QHash>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QSvgRenderer>

class QPainter;

inline const char *const kAgentArtworkPath = ":/agent/parakeet.svg";

class TAgentArtwork {
public:
    explicit TAgentArtwork(const QString &path = QString::fromLatin1(kAgentArtworkPath));
    // True when the drawing loaded and has every part the parakeet needs.
    bool IsValid() const { return m_valid; }
    // The parts the drawing lacks (empty when it is complete or did not load).
    const QStringList &MissingParts() const { return m_missing; }
    QSizeF ArtSize() const { return m_size; }
    // Where the speech balloon's pointer ends (art units): on top of the
    // head for a balloon above the bird, under the feet for one below.
    QPointF BalloonAnchor(bool above) const;
    // Paints the pose; the painter maps art units to the target already.
    void Paint(QPainter &p, const TAgentPose &pose) const;

    static QStringList RequiredParts();
    // True when the artwork at `path` is usable (the speech-component check).
    static bool Present(const QString &path = QString::fromLatin1(kAgentArtworkPath));

private:
    void Draw(QPainter &p, const QString &id) const;
    QRectF Bounds(const QString &id) const { return m_bounds.value(id); }

    mutable QSvgRenderer m_svg;
    QHash<QString, QRectF> m_bounds;
    QStringList m_missing;
    QSizeF m_size;
    bool m_valid = false;
};
