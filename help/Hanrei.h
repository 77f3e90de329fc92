#pragma once
// The pronunciation-symbol legend: one picture explaining the glyphs drawn
// beside the options. It is sized to its picture, shown modally, and closed by
// Esc or a click, each playing the button sound.
#include <QDialog>
#include <functional>

class QLabel;

class THanreiForm : public QDialog {
    Q_OBJECT
public:
    explicit THanreiForm(QWidget *parent = nullptr);

    // Played when the legend closes; the owner plays "BUTTON" here.
    void SetClickSound(std::function<void()> sound) { m_clickSound = std::move(sound); }

    // Hides the window, sizes it to its picture, centres it over its parent
    // and shows it modally.
    void ShowLegend();

    QLabel *Image_Hanrei = nullptr;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void reject() override;

private:
    void Close();

    std::function<void()> m_clickSound;
};
