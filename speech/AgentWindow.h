#pragma once
// The parakeet on the desktop: a frameless, see-through tool window of the
// program that never takes the keyboard focus and can be dragged with the
// mouse; the program's other windows come over it when they open. It
// paints the pose it is given; the agent control decides the poses. The
// window is also cut to the bird's outline, so that it looks right on a
// desktop without a compositor, where see-through parts would show black.
#include "speech/AgentArtwork.h"

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>

inline constexpr double kAgentScale = 0.9;   // screen pixels per art unit

class TAgentWindow : public QWidget {
    Q_OBJECT
public:
    explicit TAgentWindow(const TAgentArtwork &art);
    void SetPose(const TAgentPose &pose);
    const TAgentPose &Pose() const { return m_pose; }
    // Where a balloon above (or below) the bird points, on the screen.
    QPoint BalloonAnchorOnScreen(bool above) const;

signals:
    // The user has moved the window with the mouse and let go.
    void Dragged(QPoint topLeft);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void Render();

    const TAgentArtwork &m_art;
    TAgentPose m_pose;
    QImage m_frame;         // the pose as painted
    QRegion m_shape;        // where the frame is not see-through
    QPoint m_grab;          // where in the window the mouse took hold
    QPoint m_pressGlobal;
    bool m_dragging = false;
    bool m_moved = false;
};
