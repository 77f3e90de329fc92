#pragma once
// The program's own pictures, looked up by name: the option buttons ("Option1_Neutral"
// ... "Option3_Wrong"), the signal button's pictures ("Signal_Start1" to "Signal_Start4",
// "Signal_Q", "Signal_O", "Signal_X") and the pronunciation legend ("Hanrei"). They are
// SVG drawings under resources/ (made by tools/art/make_art.py), rendered at their own
// size.
#include "widgets/SvgPicture.h"

#include <QPixmap>
#include <QString>
#include <QStringList>

enum class TOptionPicture { Neutral, Correct, Wrong };

// The named picture at its own size (in device-independent pixels), or a null
// pixmap for a name that is not one of the program's pictures.
QPixmap PictureByName(const QString &name, qreal devicePixelRatio = 1.0);

// "Option" + option (1..3) + "_Neutral" / "_Correct" / "_Wrong"; empty for another option.
QString OptionButtonPictureName(int option, TOptionPicture state);
// The option buttons' image list: neutral 0, 3, 6; correct 1, 4, 7; wrong 2, 5, 8
// (options 1, 2, 3). Empty name / null pixmap outside 0..8.
QString OptionButtonPictureName(int imageIndex);
QPixmap OptionButtonPicture(int imageIndex, qreal devicePixelRatio = 1.0);


// Every picture name PictureByName knows, sorted.
QStringList PictureNames();
