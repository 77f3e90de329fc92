#pragma once
// Export and import of the record folder: everything the program keeps for
// the learner (records, settings, catalogs and the learner's own word lists,
// that is the whole user folder) copied out as a backup or brought back.
//
// Nothing here ever leaves a folder half written in place of a good one:
// - An export copies into a new folder beside the target and compares every
//   file with its original; only then does the copy take the target's name.
//   A target that already exists is replaced only when the caller says so,
//   and the old one goes to the trash.
// - An import first checks that the chosen folder is a record folder, copies
//   it into a new folder beside the user folder, compares, and only then
//   swaps the two by renames. The previous folder stays beside the new one
//   under a dated name, so a failure half-way (a full disk, an unreadable
//   file) leaves the learner's current records as they were.
// Qt Core only: the windows and the tool ask the questions, this does the work.
#include <QDateTime>
#include <QString>
#include <QStringList>

// The learner's messages (each text ends in an ideographic space where it has one).
inline const QString kExportDoneText = QStringLiteral("書き出しが完了しました　");
inline const QString kExportFailedText = QStringLiteral("書き込みに失敗しました　");
inline const QString kDeleteFailedText = QStringLiteral("フォルダの削除に失敗しました　");
inline const QString kImportDoneText = QStringLiteral("読み込みが完了しました　");
inline const QString kImportFailedText = QStringLiteral("読み込みに失敗しました　");
inline const QString kRestartText = QStringLiteral("一度アプリケーションを終了しますので、再起動をお願いします。　");
inline const QString kOldLayoutText = QStringLiteral("バージョン7.8未満の記録を直接読み込むことはできません");
inline const QString kNotRecordFolderText = QStringLiteral("記録ファイルが保存されているフォルダ（user）を指定してください");
inline const QString kImportFinishedText =
    QStringLiteral("前回の記録の読み込みが途中で止まっていたので、読み込みを最後まで済ませました。");
inline const QString kImportRolledBackText =
    QStringLiteral("前回の記録の読み込みが途中で止まっていたので、読み込む前の記録に戻しました。");
inline const QString kExportIntoRecordFolderText =
    QStringLiteral("記録フォルダの中には書き出せません。別の場所を指定してください　");

// How an export or an import ended.
enum class TTransferOutcome {
    Done,          // every file copied and compared, and put in place
    SameFolder,    // the chosen folder is the user folder itself: nothing done, nothing said
    TargetExists,  // export: the target exists and was not to be replaced
    Refused,       // the chosen folder cannot be used (message says why)
    Failed,        // a copy, compare or rename failed; nothing was changed
};

struct TTransferResult {
    TTransferOutcome outcome = TTransferOutcome::Failed;
    // For the learner: one of the texts above, then (for a failure) the
    // file and the system's reason on lines of their own.
    QString message;
    QStringList copied;   // files copied, relative to the folder, sorted
    QString target;       // export: the folder written; import: the record folder
    QString backup;       // import: where the previous record folder now is (empty: it held no file)
};

// The record folder (the user folder, ending in "/") and the folder chosen
// for an export: the export writes target = chosen + the record folder's
// own name (normally ".../user").
struct TExportPlan {
    TTransferOutcome outcome = TTransferOutcome::Done;   // Done: go on; SameFolder or Refused: stop
    QString message;
    QString target;        // the folder the export writes
    bool targetExists = false;
};
TExportPlan PlanExport(const QString &recordFolder, const QString &chosenFolder);

enum class TReplaceTarget { No, Yes };
// Copies the record folder to plan.target. An existing target is replaced
// only with TReplaceTarget::Yes (it goes to the trash once the new copy is
// complete); otherwise the result is TargetExists and nothing is written.
TTransferResult ExportRecordFolder(const QString &recordFolder, const TExportPlan &plan, TReplaceTarget replace);

// Checks a folder chosen for an import: not the user folder itself (silent),
// no record folder of the old layout (word_VORKAL), a record/ folder and
// FileInfo/FileInfo_PC.dat present, every record file readable, and the
// user folder not inside it. Done when it may be imported.
TTransferResult CheckImportSource(const QString &recordFolder, const QString &chosenFolder);

// Finishes or rolls back an import that was stopped (a kill, a power cut)
// between its renames, which leaves no record folder: the complete copy
// ("<name>.importing-<time>") beside it takes its place when it passes the
// import's checks, otherwise the previous folder ("<name>-before-import-<time>")
// returns. Copies of imports stopped while the record folder was still in
// place (they never replaced anything, their source is still where it was)
// are removed. Returns what the learner is told (empty: nothing was left).
QString RecoverInterruptedImport(const QString &recordFolder);

// Replaces the record folder by a copy of the chosen folder (after the
// checks above). `now` names the backup of the previous folder:
// "<name>-before-import-yyyyMMdd-HHmmss" beside it. A previous folder that
// held no file at all (a fresh start) is removed instead of kept.
TTransferResult ImportRecordFolder(const QString &recordFolder, const QString &chosenFolder,
                                   const QDateTime &now = QDateTime::currentDateTime());
