#pragma once
// The main window: presents the training and routes its events to the engine.
#include <QWidget>

class QLabel;
class TCC;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(TCC &cc, QWidget *parent = nullptr);

    QLabel *sLabel_titleCover() const { return m_titleCover; }

private:
    TCC &m_cc;
    QLabel *m_titleCover = nullptr;
};
