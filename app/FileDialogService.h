// SPDX-License-Identifier: GPL-3.0-or-later
// The one way pages ask the user for a file to import or to export to; tests answer instead.
// Use: path = FileDialogService::open(window, {title, filter, suffix, folder}); empty: cancel.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace varnix {

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    QString title;
    // Name filters as the dialog lists them, "Text(*.a *.b)", several separated by ";;".
    QString filter;
    // Added to a typed name without a suffix ("Config").
    QString defaultSuffix;
    // Where the dialog starts; empty: the user's home folder.
    QString startFolder;
};

class FileDialogService {
public:
    // The request of a device page's import or export dialog: its title, the exchange files'
    // filter and the suffix a typed name gets.
    static FileDialogRequest exchangeRequest(QString title, const char* filter, const char* suffix);

    // While a responder is set, no dialog is shown: it receives each request and answers the
    // path the user chose, or an empty text for a cancel.
    using Responder = std::function<QString(FileDialogKind kind, const FileDialogRequest&)>;
    static void setResponder(Responder responder);
    static bool hasResponder();

    // An existing file to read; empty when the user cancelled.
    static QString open(QWidget* parent, const FileDialogRequest& request);
    // A file to write, confirmed by the user when it exists already, named as completeSaveName
    // says. Empty when the user cancelled.
    static QString save(QWidget* parent, const FileDialogRequest& request);

    // The name a save gives the file the user chose. A name that no filter pattern matches gets
    // the first filter's extension, so that the import dialog lists the file again: "pad" and
    // "pad.Config" become "pad.Light.Config" under "Config Flie(*.Light.Config)" with the
    // default suffix "Config". A filter without a plain "*.ext" pattern only adds the default
    // suffix to a name without any.
    static QString completeSaveName(const QString& path, const FileDialogRequest& request);
    // The suffix the dialog adds to a typed name without one: the first filter's extension
    // ("Light.Config") when it has one, else the request's default suffix.
    static QString dialogSuffix(const FileDialogRequest& request);
};

} // namespace varnix
