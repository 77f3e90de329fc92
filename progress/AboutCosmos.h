#pragma once
// The explanation of the star view (" Cosmos について"): how the sky grows, and
// four sample skies after 90, 200, 360 and 700 days.
#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QTextEdit;

class TAboutCosmosForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutCosmosForm(QWidget *parent = nullptr);

    std::function<void(const QString &name)> playSoundEffect;

    QTextEdit *sRichEdit1 = nullptr;
    std::array<QPushButton *, 4> sButton{};   // sButton1..sButton4: the samples
    std::array<QLabel *, 4> Image_S{};
    QPushButton *sButton5 = nullptr;          // ＯＫ

    // Shows sample n (1..4) over the whole window; a click returns.
    void ShowSample(int n);
    void ShowText();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;
};
