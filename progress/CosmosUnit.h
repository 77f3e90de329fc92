#pragma once
// The star view (" Cosmos"): the current file's words as a night sky, drawn
// anew on every opening from the word records (engine/CosmosSky.h). Esc or a
// click on the sky, a galaxy or a planet closes it.
#include "engine/CosmosSky.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>

class QLabel;
class TCC;

// The sky's pixels for the words 1..wordCount (a black 1024 x 768 picture).
QImage DrawSky(const TCC &cc, TRandom &random);

class TCosmosForm : public QDialog {
    Q_OBJECT
public:
    explicit TCosmosForm(TCC &cc, QWidget *parent = nullptr);

    // Plays a sound effect by name; set by the program.
    std::function<void(const QString &name)> playSoundEffect;

    void FormShow();
    int ShowModal();

    QLabel *Image_cosmos = nullptr;
    std::array<QLabel *, kSmallPictures> Image_sp{};
    std::array<QLabel *, kGalaxies> Image_gal{};
    std::array<QLabel *, 3> sLabel_line{};

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    TCC &m_cc;
};
