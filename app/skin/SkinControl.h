// SPDX-License-Identifier: GPL-3.0-or-later
// What every skin control has: a name, string attributes, geometry rules, look and notifications.
#pragma once

#include "app/skin/SkinImage.h"

#include <QColor>
#include <QHash>
#include <QMargins>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace varnix {

class SkinContainer;
class SkinManager;

class SkinControl {
public:
    explicit SkinControl(QWidget* self);
    virtual ~SkinControl();
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;

    QWidget* widget() const { return self_; }
    const QString& name() const { return name_; }
    void setName(const QString& name);
    // The tag this control was made from ("Button", "Option", ...).
    virtual QString className() const = 0;

    SkinManager* manager() const { return manager_; }
    // Joins a window's manager (and registers the name); containers pass it on to their items.
    virtual void attach(SkinManager* manager);
    void detach();
    SkinContainer* parentContainer() const;

    // Sets one attribute from its text; false when no part of the control understands the name.
    // Understood by every control: name, pos "l,t,r,b", width, height, minwidth, minheight,
    // maxwidth, maxheight, float, visible, enabled, text, textid, tooltip, userdata, padding,
    // bkcolor, bordercolor, bordersize, borderround, bkimage, textcolor, disabledtextcolor,
    // font, align, valign, textpadding, wordbreak, endellipsis, midellipsis, cursor, tooltipid,
    // tabstop, noprefix.
    virtual bool setAttribute(const QString& name, const QString& value);
    // Sets every pair of a list in order; returns the names nobody understood.
    QStringList setAttributeList(const QList<QPair<QString, QString>>& pairs);

    virtual void setText(const QString& text);
    virtual QString text() const { return text_; }
    // A text id asked of the text provider each time texts are reloaded.
    void setTextId(const QString& id);
    const QString& textId() const { return textId_; }
    // A text id for the tooltip, asked at the same times as the text id.
    void setToolTipId(const QString& id);
    const QString& toolTipId() const { return toolTipId_; }
    // Asks the text provider again for every text id the control names.
    virtual void reloadText();

    void setControlVisible(bool visible);
    bool isControlVisible() const { return visible_; }
    void setControlEnabled(bool enabled);
    bool isControlEnabled() const;

    // Position rectangle from "pos": placement of a floating control inside its parent.
    const QRect& posRect() const { return pos_; }
    void setPos(const QRect& rect);
    bool isFloat() const { return float_; }
    void setFloat(bool floating);
    int fixedWidth() const { return fixedWidth_; }
    int fixedHeight() const { return fixedHeight_; }
    void setFixedControlWidth(int width);
    void setFixedControlHeight(int height);
    QSize minimumControlSize() const { return minSize_; }
    QSize maximumControlSize() const { return maxSize_; }
    // Outer margins inside a layout.
    const QMargins& padding() const { return padding_; }
    void setPadding(const QMargins& padding);
    // Size the control would like for its current text and images.
    virtual QSize estimateSize() const;

    const QString& userData() const { return userData_; }
    void setUserData(const QString& data) { userData_ = data; }

    SkinImage image(const QString& attribute) const { return images_.value(attribute); }
    QFont controlFont() const;
    int fontIndex() const { return font_; }
    // Called after the window's fonts were rebuilt.
    virtual void fontsChanged();

    // Sends a notification with this control as the sender to its window.
    void sendNotify(const QString& type, qintptr wParam = 0, qintptr lParam = 0);

protected:
    // Background colour, the state's background colour, background image, the image of the
    // given state attribute, border. The state colour lies under the images, so that a hot or
    // pushed look keeps the picture of the control.
    void paintFrame(QPainter& painter, const QString& stateImage = QString(),
                    const QColor& stateBkColor = QColor()) const;
    void paintText(QPainter& painter, const QColor& color) const;
    // The keyboard focus mark: a ring just inside the control, in the accent colour of the
    // theme, drawn only while the control has the focus.
    void paintFocusRing(QPainter& painter) const;
    // The same ring inside `area`, drawn always (rows draw it while their list has the focus).
    void drawFocusMark(QPainter& painter, const QRect& area) const;
    QColor textColor() const { return textColor_; }
    QColor disabledTextColor() const { return disabledTextColor_; }
    QColor bkColor() const { return bkColor_; }
    const QMargins& textPadding() const { return textPadding_; }
    int textFlags() const { return alignment_ | (wordBreak_ ? int(Qt::TextWordWrap) : 0); }
    bool hasImage(const QString& attribute) const { return !images_.value(attribute).isEmpty(); }
    // Tells the enclosing layout to place its items again.
    void relayoutParent();
    virtual void textChanged() {}

private:
    QWidget* self_;
    SkinManager* manager_ = nullptr;
    QString name_;
    QString text_;
    QString textId_;
    QString toolTipId_;
    QString userData_;
    bool visible_ = true;
    bool float_ = false;
    QRect pos_;
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
    QSize minSize_{0, 0};
    QSize maxSize_{QWIDGETSIZE_MAX_VALUE, QWIDGETSIZE_MAX_VALUE};
    QMargins padding_;
    QMargins textPadding_;
    QHash<QString, SkinImage> images_;
    QColor bkColor_;
    QColor borderColor_;
    int borderSize_ = 0;
    int borderRound_ = 0;
    QColor textColor_;
    QColor disabledTextColor_;
    int font_ = -1;
    int alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordBreak_ = false;
    bool endEllipsis_ = false;
    bool midEllipsis_ = false;

    static constexpr int QWIDGETSIZE_MAX_VALUE = (1 << 24) - 1;
};

// The colour of every keyboard focus mark, skin-drawn or style-sheet drawn.
inline constexpr const char* FocusRingColor = "#FF5A9DFF";

// "true"/"false" (also "1"/"0") as an attribute text gives.
bool skinBool(const QString& value);

} // namespace varnix
