// SPDX-License-Identifier: GPL-3.0-or-later
// Answers the text of a control whose skin names a text id instead of a text.
#pragma once

#include <QString>
#include <optional>

namespace varnix {

class SkinTextProvider {
public:
    virtual ~SkinTextProvider() = default;
    // The text for an id, or nothing: the control then keeps the text its skin gives.
    virtual std::optional<QString> queryControlText(const QString& textId) = 0;
};

} // namespace varnix
