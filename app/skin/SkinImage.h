// SPDX-License-Identifier: GPL-3.0-or-later
// An image attribute: a file, optionally a region of it, drawn into a control's rectangle.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;

namespace varnix {

class SkinImage {
public:
    SkinImage() = default;
    // Parses "file='a.png' source='l,t,r,b' dest='l,t,r,b'" or a bare file name; empty text
    // clears the image. source picks a region of the file, dest a region of the control.
    static SkinImage parse(const QString& text);

    bool isEmpty() const { return file_.isEmpty(); }
    const QString& file() const { return file_; }
    // The region of the file, empty for the whole file.
    const QRect& source() const { return source_; }
    const QRect& dest() const { return dest_; }
    const QString& text() const { return text_; }

    // Draws the (region of the) file scaled into target; false when the file cannot be loaded.
    bool draw(QPainter& painter, const QRect& target) const;
    QPixmap pixmap() const;

    // Folder that names like "Skin/x.png", "./res/x.png" or "res/x.png" resolve against.
    static void setResourceRoot(const QString& root);
    static QString resourceRoot();
    static QString resolvePath(const QString& name);
    // Drops the loaded files (after the resource tree changed on disk).
    static void clearCache();

private:
    QString text_;
    QString file_;
    QRect source_;
    QRect dest_;
};

// Parses "l,t,r,b" into a rectangle from (l,t) to (r,b) exclusive; false on malformed text.
bool parseLtrb(const QString& text, QRect& out);
// Parses "#AARRGGBB", "#RRGGBB", "0xAARRGGBB" or a colour name.
bool parseSkinColor(const QString& text, class QColor& out);

} // namespace varnix
