// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinSlider.h"

#include "app/skin/SkinNotify.h"

namespace varnix {

SkinSlider::SkinSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent), SkinControl(this) {
    setCursor(Qt::PointingHandCursor);
    // While the thumb is dragged each step is "movevaluechanged"; the final value (release, click
    // on the groove, keyboard) is "valuechanged".
    connect(this, &QSlider::sliderMoved, this, [this](int value) {
        sendNotify(QString::fromLatin1(notify::MoveValueChanged), value);
    });
    connect(this, &QSlider::sliderReleased, this,
            [this] { sendNotify(QString::fromLatin1(notify::ValueChanged), value()); });
    connect(this, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            QMetaObject::invokeMethod(
                this, [this] { sendNotify(QString::fromLatin1(notify::ValueChanged), value()); },
                Qt::QueuedConnection);
    });
}

bool SkinSlider::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    bool ok = true;
    if (name == QLatin1String("min"))
        setMinimum(value.toInt(&ok));
    else if (name == QLatin1String("max"))
        setMaximum(value.toInt(&ok));
    else if (name == QLatin1String("value"))
        setSliderValue(value.toInt(&ok));
    else if (name == QLatin1String("step"))
        setSingleStep(value.toInt(&ok));
    else if (name == QLatin1String("hor"))
        setOrientation(skinBool(value) ? Qt::Horizontal : Qt::Vertical);
    else
        return SkinControl::setAttribute(attributeName, value);
    return ok;
}

void SkinSlider::setSliderValue(int value) {
    const QSignalBlocker blocker(this);
    setValue(value);
}

} // namespace varnix
