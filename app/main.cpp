#include "app/MainUnit.h"
#include "engine/CommonUnit.h"
#include "engine/TError.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessarion"));
    try {
        TCC cc;
        cc.RunStartupFileSteps(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
        TMainForm form(cc);
        form.show();
        return app.exec();
    } catch (const TFatalError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessarion"), e.Message());
        return 1;
    }
}
