#pragma once
// The speech balloon: shows what the parakeet says while its voice plays,
// beside the bird with a pointer to the beak.
#include <QPainterPath>
#include <QWidget>

class TAgentBalloon : public QWidget {
    Q_OBJECT
public:
    TAgentBalloon();
    // Shows the text above the bird, its pointer ending at `above` (screen
    // position); below the bird, pointing up at `below`, when the screen has
    // no room above.
    void ShowText(const QString &text, QPoint above, QPoint below);
    const QString &Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QRectF Body() const;
    QPainterPath Shape() const;   // body and pointer

    QString m_text;
    bool m_pointerDown = true;   // the pointer hangs below the balloon
    int m_pointerX = 0;
};
