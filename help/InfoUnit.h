#pragma once
// The help window: a borderless panel showing one fixed help text, chosen by
// a topic key. The menu writes the key into the title label and shows the
// window; it replaces the key by the topic's title, sizes itself to the text
// and is centred over the main window. OK, Esc or a click on the title, the
// panel or one of the short texts closes it with the button sound.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QScreen;
class QTextEdit;
class TCC;

// The topic keys.
inline const QString kInfoJukugoTyping = QStringLiteral("JukugoTyping");
inline const QString kInfoTokushuTyping = QStringLiteral("TokushuTyping");
inline const QString kInfoOperation = QStringLiteral("Operation");
inline const QString kInfoFAQ = QStringLiteral("FAQ");
inline const QString kInfoWords = QStringLiteral("Words");

// The accent replacement list, made from the table the answer check folds
// accented letters with: one line per group, "[à, á, â, ã, ä, å] ⇒ a".
QStringList AccentReplacementLines();

class TInfoForm : public QDialog {
    Q_OBJECT
public:
    explicit TInfoForm(TCC &cc, QWidget *parent = nullptr);

    // Played when the window closes ("BUTTON").
    std::function<void(const QString &)> playSoundEffect;

    // Writes the key into the title label and shows the window modally.
    void ShowTopic(const QString &key);
    // Shows the topic whose key the title label holds: its title, its text,
    // the sizes and the place over the main window.
    void FormShow();
    // The text control on show; null when the topic has none.
    QTextEdit *ShownText() const;

    QFrame *sPanel_InfoFrame = nullptr;
    QFrame *sPanel_Info = nullptr;
    QLabel *sLabel_title = nullptr;
    QTextEdit *sRichEdit_JukugoTyping = nullptr;
    QTextEdit *sRichEdit_TokushuTyping = nullptr;
    QTextEdit *sRichEdit_Operation = nullptr;
    QTextEdit *sRichEdit_FAQ = nullptr;
    QTextEdit *sRichEdit_TT = nullptr;
    QTextEdit *sRichEdit_TJ = nullptr;
    QTextEdit *sRichEdit_DT = nullptr;
    QTextEdit *sRichEdit_IT = nullptr;
    QPushButton *sButton_OK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    QTextEdit *AddText(const QString &name, const QString &text);
    QTextEdit *WordsText() const;
    // The size a text control needs to show its text whole, within the
    // largest size the screen allows.
    QSize TextSize(QTextEdit *text) const;
    const QScreen *OwnerScreen() const;
    // Puts the file's row counts into a word-list description.
    QString WithRowCounts(QString text) const;
    void CloseInfo();

    TCC &m_cc;
    QList<QTextEdit *> m_texts;
    QHash<QTextEdit *, QString> m_sources;   // each text as written, before the counts
};
