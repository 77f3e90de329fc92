#pragma once
// Small controls of the training window: a panel with a centred caption that
// can hold other controls, and the answer gauge.
#include <QLabel>
#include <QWidget>

// The application's font at a height in pixels.
QFont PixelFont(int pixelHeight, bool bold = false);
// A label with its component name.
QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text = {});

// A framed panel whose caption is centred, as the window's panels are.
class TPanel : public QLabel {
    Q_OBJECT
public:
    explicit TPanel(QWidget *parent, const QString &name);
};

// The answer gauge: a bar from 0 to its maximum that runs down while a
// question waits.
class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget *parent, const QString &name);
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    void setMaximum(int maximum);
    void setPosition(int position);
    void Fill() { setPosition(m_maximum); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_maximum = 100;
    int m_position = 100;
};
