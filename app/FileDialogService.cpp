// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FileDialogService.h"

#include "common/FileNames.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace varnix {
namespace {

FileDialogService::Responder& responder() {
    static FileDialogService::Responder current;
    return current;
}

// The patterns of every filter entry, in order: "Text(*.a *.b);;Other(*.c)" gives *.a, *.b, *.c.
QStringList filterPatterns(const QString& filter) {
    QStringList patterns;
    for (const QString& entry : filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        QString list = entry.trimmed();
        const qsizetype open = list.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && list.endsWith(QLatin1Char(')')))
            list = list.mid(open + 1, list.size() - open - 2);
        patterns << list.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    return patterns;
}

// ".Light.Config" of the first pattern when it is a plain "*.ext"; empty otherwise.
QString plainExtension(const FileDialogRequest& request) {
    const QStringList patterns = filterPatterns(request.filter);
    if (patterns.isEmpty())
        return {};
    const QString& first = patterns.constFirst();
    static const QRegularExpression plain(QStringLiteral("^\\*(\\.[^*?\\[\\]]+)$"));
    const QRegularExpressionMatch match = plain.match(first);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString startFolder(const FileDialogRequest& request) {
    return request.startFolder.isEmpty() ? QDir::homePath() : request.startFolder;
}

// The program's dark theme for the parts of Qt's dialog that the program's style sheet leaves
// alone (a palette would not reach them: the style sheet's style resets the lists' palettes).
// Entries and drop-downs keep the program's look; lists, buttons and the focus marks match it.
const char* const DialogStyle = R"(
QFileDialog { background: #1B1E24; color: #E6E8EC; }
QFileDialog QLabel { color: #C9CFD8; }
QFileDialog QTreeView, QFileDialog QListView {
    background: #15181D; color: #E6E8EC; alternate-background-color: #1A1D23;
    border: 1px solid #3A404C; border-radius: 4px;
    selection-background-color: #3D8BFD; selection-color: #FFFFFF; }
QFileDialog QTreeView:focus, QFileDialog QListView:focus { border: 2px solid #5A9DFF; }
QFileDialog QHeaderView { background: #23272F; border: none; }
QFileDialog QHeaderView::section { background: #23272F; color: #A9B0BB; border: none;
    border-right: 1px solid #3A404C; padding: 3px 6px; }
QFileDialog QPushButton { background: #2B3140; color: #E6E8EC; border: 1px solid #3A404C;
    border-radius: 6px; padding: 5px 16px; }
QFileDialog QPushButton:hover { background: #3A404C; }
QFileDialog QPushButton:default { background: #3D8BFD; color: #FFFFFF; border-color: #3D8BFD; }
QFileDialog QPushButton:default:hover { background: #5A9DFF; }
QFileDialog QPushButton:disabled { background: #23272F; color: #6C727C; border-color: #2B3140; }
QFileDialog QPushButton:focus { border: 2px solid #5A9DFF; padding: 4px 15px; }
QFileDialog QToolButton { background: transparent; border: 1px solid transparent;
    border-radius: 4px; padding: 2px; }
QFileDialog QToolButton:hover { background: #2B3140; }
QFileDialog QToolButton:checked { background: #2B3140; border-color: #3A404C; }
QFileDialog QToolButton:focus { border: 2px solid #5A9DFF; }
QFileDialog QSplitter::handle { background: #1B1E24; }
)";

void prepare(QFileDialog& dialog, const FileDialogRequest& request) {
    // Qt's own dialog looks the same on every desktop and can wear the program's dark theme.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setStyleSheet(QString::fromLatin1(DialogStyle));
    dialog.setDefaultSuffix(FileDialogService::dialogSuffix(request));
}

} // namespace

void FileDialogService::setResponder(Responder answer) {
    responder() = std::move(answer);
}

bool FileDialogService::hasResponder() {
    return static_cast<bool>(responder());
}

QString FileDialogService::dialogSuffix(const FileDialogRequest& request) {
    const QString extension = plainExtension(request);
    return extension.isEmpty() ? request.defaultSuffix : extension.mid(1);
}

QString FileDialogService::completeSaveName(const QString& path, const FileDialogRequest& request) {
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    QString name = info.fileName();
    if (name.isEmpty())
        return path;
    const QString suffix = request.defaultSuffix.startsWith(QLatin1Char('.'))
                               ? request.defaultSuffix.mid(1)
                               : request.defaultSuffix;
    const QString extension = plainExtension(request);
    if (extension.isEmpty()) {
        if (info.suffix().isEmpty() && !suffix.isEmpty())
            name += QLatin1Char('.') + suffix;
    } else if (!QDir::match(filterPatterns(request.filter), name)) {
        name = QString::fromStdString(withExchangeExtension(
            name.toStdString(), extension.toStdString(), suffix.toStdString()));
    }
    const QString folder = path.left(path.size() - info.fileName().size());
    return folder + name;
}

QString FileDialogService::open(QWidget* parent, const FileDialogRequest& request) {
    if (responder())
        return responder()(FileDialogKind::Open, request);
    QFileDialog dialog(parent, request.title, startFolder(request), request.filter);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString FileDialogService::save(QWidget* parent, const FileDialogRequest& request) {
    if (responder())
        return completeSaveName(responder()(FileDialogKind::Save, request), request);
    QFileDialog dialog(parent, request.title, startFolder(request), request.filter);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString chosen = dialog.selectedFiles().constFirst();
        const QString completed = completeSaveName(chosen, request);
        if (completed == chosen || !QFileInfo::exists(completed))
            return completed;
        // The dialog confirmed the name as typed, but the file it becomes exists: the dialog
        // comes back with that name, and saving it there asks before replacing it.
        dialog.selectFile(completed);
    }
}

FileDialogRequest FileDialogService::exchangeRequest(QString title, const char* filter,
                                                     const char* suffix) {
    FileDialogRequest request;
    request.title = std::move(title);
    request.filter = QString::fromLatin1(filter);
    request.defaultSuffix = QString::fromLatin1(suffix);
    return request;
}

} // namespace varnix
