#pragma once
// The parakeet on the desktop: a frameless, see-through window that stays on
// top, never takes the keyboard focus and can be dragged with the mouse. It
// paints the pose it is given; the agent control decides the poses.
#include "speech/AgentArtwork.h"

#include <QPoint>
#include <QWidget>

inline constexpr double kAgentScale = 0.8;   // screen pixels per art unit

class TAgentWindow : public QWidget {
    Q_OBJECT
public:
    explicit TAgentWindow(const TAgentArtwork &art);
    void SetPose(const TAgentPose &pose);
    const TAgentPose &Pose() const { return m_pose; }
    // Where the beak is on the screen (the balloon points there).
    QPoint BeakOnScreen() const;

signals:
    // The user has moved the window with the mouse and let go.
    void Dragged(QPoint topLeft);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    const TAgentArtwork &m_art;
    TAgentPose m_pose;
    QPoint m_grab;          // where in the window the mouse took hold
    QPoint m_pressGlobal;
    bool m_dragging = false;
    bool m_moved = false;
};
