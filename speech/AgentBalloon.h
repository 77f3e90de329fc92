#pragma once
// The speech balloon: shows what the parakeet says while its voice plays,
// beside the bird with a pointer to the beak.
#include <QWidget>

class TAgentBalloon : public QWidget {
    Q_OBJECT
public:
    TAgentBalloon();
    // Shows the text pointing at `beak` (screen position), placed above the
    // bird when there is room on the screen, else below it.
    void ShowText(const QString &text, QPoint beak);
    const QString &Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QString m_text;
    bool m_pointerDown = true;   // the pointer hangs below the balloon
    int m_pointerX = 0;
};
