// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinControl.h"

#include "app/skin/SkinContainer.h"
#include "app/skin/SkinManager.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace varnix {
namespace {

// Default look of the dark theme; skins override each value per control.
const QColor DefaultTextColor(0xE6, 0xE8, 0xEC);
const QColor DefaultDisabledTextColor(0x6C, 0x72, 0x7C);
// Corner radius of a hot or pushed background on a control without borderround.
constexpr qreal StateRound = 4;
constexpr int FocusRingWidth = 2;
const QColor FocusRingInner(0xFF, 0xFF, 0xFF, 0x90);

bool toInt(const QString& text, int& out) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok)
        out = value;
    return ok;
}

bool parseMargins(const QString& text, QMargins& out) {
    QRect rect;
    if (!parseLtrb(text, rect))
        return false;
    // parseLtrb keeps right/bottom as given minus one; margins want the four numbers as written.
    out = QMargins(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
    return true;
}

} // namespace

bool skinBool(const QString& value) {
    const QString text = value.trimmed().toLower();
    return text == QLatin1String("true") || text == QLatin1String("1");
}

SkinControl::SkinControl(QWidget* self)
    : self_(self), textColor_(DefaultTextColor), disabledTextColor_(DefaultDisabledTextColor) {}

SkinControl::~SkinControl() {
    detach();
}

void SkinControl::setName(const QString& name) {
    if (manager_)
        manager_->unregisterControl(this);
    name_ = name;
    self_->setObjectName(name);
    if (manager_)
        manager_->registerControl(this);
}

void SkinControl::attach(SkinManager* manager) {
    if (manager_ == manager)
        return;
    detach();
    manager_ = manager;
    if (manager_) {
        manager_->registerControl(this);
        reloadText();
        fontsChanged();
    }
}

void SkinControl::detach() {
    if (manager_)
        manager_->unregisterControl(this);
    manager_ = nullptr;
}

SkinContainer* SkinControl::parentContainer() const {
    for (QWidget* parent = self_->parentWidget(); parent; parent = parent->parentWidget())
        if (auto* container = dynamic_cast<SkinContainer*>(parent))
            return container;
    return nullptr;
}

bool SkinControl::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    int number = 0;
    if (name == QLatin1String("name")) {
        setName(value);
    } else if (name == QLatin1String("noprefix")) {
        // Texts are drawn as written: an "&" is shown, never taken as an accelerator mark.
        return true;
    } else if (name == QLatin1String("pos")) {
        QRect rect;
        if (!parseLtrb(value, rect))
            return false;
        setPos(rect);
    } else if (name == QLatin1String("width")) {
        if (!toInt(value, number))
            return false;
        setFixedControlWidth(number);
    } else if (name == QLatin1String("height")) {
        if (!toInt(value, number))
            return false;
        setFixedControlHeight(number);
    } else if (name == QLatin1String("minwidth") || name == QLatin1String("minheight") ||
               name == QLatin1String("maxwidth") || name == QLatin1String("maxheight")) {
        if (!toInt(value, number))
            return false;
        if (name == QLatin1String("minwidth"))
            minSize_.setWidth(number);
        else if (name == QLatin1String("minheight"))
            minSize_.setHeight(number);
        else if (name == QLatin1String("maxwidth"))
            maxSize_.setWidth(number);
        else
            maxSize_.setHeight(number);
        relayoutParent();
    } else if (name == QLatin1String("float")) {
        setFloat(skinBool(value));
    } else if (name == QLatin1String("visible")) {
        setControlVisible(skinBool(value));
    } else if (name == QLatin1String("enabled")) {
        setControlEnabled(skinBool(value));
    } else if (name == QLatin1String("text")) {
        setText(value);
    } else if (name == QLatin1String("textid")) {
        setTextId(value);
    } else if (name == QLatin1String("tooltip")) {
        self_->setToolTip(value);
    } else if (name == QLatin1String("tooltipid")) {
        setToolTipId(value);
    } else if (name == QLatin1String("tabstop")) {
        // Without a tab stop the control still takes the focus from code (a page's focus sink)
        // and, if it did before, from a click; Tab passes it by.
        const int policy = int(self_->focusPolicy());
        self_->setFocusPolicy(
            Qt::FocusPolicy(skinBool(value) ? policy | Qt::TabFocus : policy & ~int(Qt::TabFocus)));
    } else if (name == QLatin1String("userdata")) {
        userData_ = value;
    } else if (name == QLatin1String("padding")) {
        QMargins margins;
        if (!parseMargins(value, margins))
            return false;
        setPadding(margins);
    } else if (name == QLatin1String("textpadding")) {
        if (!parseMargins(value, textPadding_))
            return false;
    } else if (name == QLatin1String("bkcolor")) {
        if (!parseSkinColor(value, bkColor_))
            return false;
    } else if (name == QLatin1String("bordercolor")) {
        if (!parseSkinColor(value, borderColor_))
            return false;
        if (borderSize_ == 0)
            borderSize_ = 1;
    } else if (name == QLatin1String("bordersize")) {
        if (!toInt(value, borderSize_))
            return false;
    } else if (name == QLatin1String("borderround")) {
        if (!toInt(value, borderRound_))
            return false;
    } else if (name == QLatin1String("textcolor")) {
        if (!parseSkinColor(value, textColor_))
            return false;
    } else if (name == QLatin1String("disabledtextcolor")) {
        if (!parseSkinColor(value, disabledTextColor_))
            return false;
    } else if (name == QLatin1String("font")) {
        if (!toInt(value, font_))
            return false;
        fontsChanged();
    } else if (name == QLatin1String("align")) {
        const QString text = value.trimmed().toLower();
        alignment_ &= ~int(Qt::AlignHorizontal_Mask);
        alignment_ |= text == QLatin1String("center")  ? int(Qt::AlignHCenter)
                      : text == QLatin1String("right") ? int(Qt::AlignRight)
                                                       : int(Qt::AlignLeft);
    } else if (name == QLatin1String("valign")) {
        const QString text = value.trimmed().toLower();
        alignment_ &= ~int(Qt::AlignVertical_Mask);
        alignment_ |= text == QLatin1String("top")      ? int(Qt::AlignTop)
                      : text == QLatin1String("bottom") ? int(Qt::AlignBottom)
                                                        : int(Qt::AlignVCenter);
    } else if (name == QLatin1String("wordbreak") || name == QLatin1String("multiline")) {
        wordBreak_ = skinBool(value);
    } else if (name == QLatin1String("endellipsis")) {
        endEllipsis_ = skinBool(value);
    } else if (name == QLatin1String("midellipsis")) {
        midEllipsis_ = skinBool(value);
    } else if (name == QLatin1String("cursor")) {
        self_->setCursor(value.trimmed().toLower() == QLatin1String("hand") ? Qt::PointingHandCursor
                                                                            : Qt::ArrowCursor);
    } else if (name.endsWith(QLatin1String("image"))) {
        images_.insert(name, SkinImage::parse(value));
    } else {
        return false;
    }
    self_->update();
    return true;
}

QStringList SkinControl::setAttributeList(const QList<QPair<QString, QString>>& pairs) {
    QStringList unknown;
    for (const auto& [attribute, value] : pairs)
        if (!setAttribute(attribute, value))
            unknown << attribute;
    return unknown;
}

void SkinControl::setText(const QString& text) {
    if (text_ == text)
        return;
    text_ = text;
    textChanged();
    self_->update();
}

void SkinControl::setTextId(const QString& id) {
    textId_ = id;
    reloadText();
}

void SkinControl::setToolTipId(const QString& id) {
    toolTipId_ = id;
    reloadText();
}

void SkinControl::reloadText() {
    if (!manager_)
        return;
    if (!textId_.isEmpty())
        if (auto text = manager_->queryText(textId_))
            setText(*text);
    if (!toolTipId_.isEmpty())
        if (auto tip = manager_->queryText(toolTipId_))
            self_->setToolTip(*tip);
}

void SkinControl::setControlVisible(bool visible) {
    visible_ = visible;
    self_->setVisible(visible);
    relayoutParent();
}

void SkinControl::setControlEnabled(bool enabled) {
    self_->setEnabled(enabled);
    self_->update();
}

bool SkinControl::isControlEnabled() const {
    return self_->isEnabledTo(nullptr) && self_->isEnabled();
}

void SkinControl::setPos(const QRect& rect) {
    pos_ = rect;
    fixedWidth_ = rect.width();
    fixedHeight_ = rect.height();
    if (float_)
        self_->setGeometry(rect);
    relayoutParent();
}

void SkinControl::setFloat(bool floating) {
    float_ = floating;
    if (float_ && !pos_.isNull())
        self_->setGeometry(pos_);
    relayoutParent();
}

void SkinControl::setFixedControlWidth(int width) {
    fixedWidth_ = std::max(0, width);
    if (float_) {
        pos_.setWidth(fixedWidth_);
        self_->resize(fixedWidth_, self_->height());
    }
    relayoutParent();
}

void SkinControl::setFixedControlHeight(int height) {
    fixedHeight_ = std::max(0, height);
    if (float_) {
        pos_.setHeight(fixedHeight_);
        self_->resize(self_->width(), fixedHeight_);
    }
    relayoutParent();
}

void SkinControl::setPadding(const QMargins& padding) {
    padding_ = padding;
    relayoutParent();
}

QSize SkinControl::estimateSize() const {
    const QFontMetrics metrics(controlFont());
    const int width = metrics.horizontalAdvance(text_) + textPadding_.left() + textPadding_.right();
    const int height = metrics.height() + textPadding_.top() + textPadding_.bottom();
    return {width, fixedHeight_ > 0 ? fixedHeight_ : height};
}

QFont SkinControl::controlFont() const {
    if (manager_)
        return manager_->font(font_);
    return self_->font();
}

void SkinControl::fontsChanged() {
    if (manager_)
        self_->setFont(controlFont());
    self_->update();
}

void SkinControl::sendNotify(const QString& type, qintptr wParam, qintptr lParam) {
    if (manager_)
        manager_->sendNotify(this, type, wParam, lParam);
}

void SkinControl::paintFrame(QPainter& painter, const QString& stateImage,
                             const QColor& stateBkColor) const {
    const QRect area = self_->rect();
    painter.setRenderHint(QPainter::Antialiasing, borderRound_ > 0);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), borderRound_, borderRound_);
    if (bkColor_.isValid() && bkColor_.alpha() > 0)
        painter.fillPath(shape, bkColor_);
    if (stateBkColor.isValid() && stateBkColor.alpha() > 0) {
        // Square controls get slightly rounded state backgrounds.
        const qreal round = borderRound_ > 0 ? borderRound_ : StateRound;
        QPainterPath state;
        state.addRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), round, round);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(state, stateBkColor);
        painter.restore();
    }
    if (const SkinImage bk = images_.value(QStringLiteral("bkimage")); !bk.isEmpty())
        bk.draw(painter, area);
    if (!stateImage.isEmpty())
        images_.value(stateImage).draw(painter, area);
    if (borderSize_ > 0 && borderColor_.isValid()) {
        painter.setPen(QPen(borderColor_, borderSize_));
        painter.drawPath(shape);
    }
}

void SkinControl::paintText(QPainter& painter, const QColor& color) const {
    if (text_.isEmpty())
        return;
    const QRect area = self_->rect().marginsRemoved(textPadding_);
    painter.setFont(controlFont());
    painter.setPen(color);
    QString shown = text_;
    // Names that differ only at their end (model names of one family) keep both ends.
    if ((midEllipsis_ || endEllipsis_) && !wordBreak_)
        shown =
            QFontMetrics(controlFont())
                .elidedText(text_, midEllipsis_ ? Qt::ElideMiddle : Qt::ElideRight, area.width());
    painter.drawText(area, textFlags(), shown);
}

void SkinControl::paintFocusRing(QPainter& painter) const {
    if (self_->hasFocus())
        drawFocusMark(painter, self_->rect());
}

void SkinControl::drawFocusMark(QPainter& painter, const QRect& area) const {
    QColor ring;
    parseSkinColor(QString::fromLatin1(FocusRingColor), ring);
    const qreal round = borderRound_ > 0 ? borderRound_ : StateRound;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ring, FocusRingWidth));
    const qreal inset = FocusRingWidth / 2.0;
    painter.drawRoundedRect(QRectF(area).adjusted(inset, inset, -inset, -inset), round, round);
    // A light hairline inside keeps the ring visible on controls filled with the accent colour.
    const qreal inner = FocusRingWidth + 0.5;
    painter.setPen(QPen(FocusRingInner, 1));
    painter.drawRoundedRect(QRectF(area).adjusted(inner, inner, -inner, -inner),
                            std::max<qreal>(0, round - FocusRingWidth),
                            std::max<qreal>(0, round - FocusRingWidth));
    painter.restore();
}

void SkinControl::relayoutParent() {
    if (SkinContainer* container = parentContainer())
        container->relayout();
}

} // namespace varnix
