// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinImage.h"

#include <QColor>
#include <QDir>
#include <QHash>
#include <QPainter>

namespace varnix {
namespace {

QString& rootFolder() {
    static QString root = QStringLiteral("res");
    return root;
}

QHash<QString, QPixmap>& cache() {
    static QHash<QString, QPixmap> pixmaps;
    return pixmaps;
}

// Value of key='…' inside an image text: the key at the start or after white space, then
// optional white space, '=', optional white space and a quoted value. Every card and skin image
// goes through here at start, so it scans by hand instead of compiling a pattern per call.
QString quotedValue(const QString& text, const QString& key) {
    const qsizetype size = text.size();
    for (qsizetype at = text.indexOf(key); at >= 0; at = text.indexOf(key, at + 1)) {
        if (at > 0 && !text[at - 1].isSpace())
            continue;
        qsizetype i = at + key.size();
        while (i < size && text[i].isSpace())
            ++i;
        if (i >= size || text[i] != QLatin1Char('='))
            continue;
        ++i;
        while (i < size && text[i].isSpace())
            ++i;
        if (i >= size || text[i] != QLatin1Char('\''))
            continue;
        const qsizetype end = text.indexOf(QLatin1Char('\''), i + 1);
        if (end < 0)
            continue;
        return text.mid(i + 1, end - i - 1);
    }
    return QString();
}

} // namespace

bool parseLtrb(const QString& text, QRect& out) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    out = QRect(QPoint(values[0], values[1]), QPoint(values[2] - 1, values[3] - 1));
    return true;
}

bool parseSkinColor(const QString& text, QColor& out) {
    QString value = text.trimmed();
    if (value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = QLatin1Char('#') + value.mid(2);
    QColor color = QColor::fromString(value);
    if (!color.isValid())
        return false;
    out = color;
    return true;
}

SkinImage SkinImage::parse(const QString& text) {
    SkinImage image;
    image.text_ = text;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return image;
    if (!trimmed.contains(QLatin1Char('\''))) {
        image.file_ = trimmed;
        return image;
    }
    image.file_ = quotedValue(trimmed, QStringLiteral("file"));
    const QString source = quotedValue(trimmed, QStringLiteral("source"));
    if (!source.isEmpty())
        parseLtrb(source, image.source_);
    const QString dest = quotedValue(trimmed, QStringLiteral("dest"));
    if (!dest.isEmpty())
        parseLtrb(dest, image.dest_);
    return image;
}

void SkinImage::setResourceRoot(const QString& root) {
    rootFolder() = root;
    clearCache();
}

QString SkinImage::resourceRoot() {
    return rootFolder();
}

QString SkinImage::resolvePath(const QString& name) {
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(relative))
        return relative;
    if (relative.startsWith(QLatin1String("./")))
        relative = relative.mid(2);
    if (relative.startsWith(QLatin1String("res/")))
        relative = relative.mid(4);
    return QDir(rootFolder()).filePath(relative);
}

void SkinImage::clearCache() {
    cache().clear();
}

QPixmap SkinImage::pixmap() const {
    if (file_.isEmpty())
        return {};
    const QString path = resolvePath(file_);
    auto it = cache().find(path);
    if (it == cache().end())
        it = cache().insert(path, QPixmap(path));
    return *it;
}

bool SkinImage::draw(QPainter& painter, const QRect& target) const {
    const QPixmap full = pixmap();
    if (full.isNull())
        return false;
    const QRect region = source_.isEmpty() ? full.rect() : source_.intersected(full.rect());
    if (region.isEmpty())
        return false;
    const QRect area = dest_.isEmpty() ? target : dest_.translated(target.topLeft());
    painter.drawPixmap(area, full, region);
    return true;
}

} // namespace varnix
