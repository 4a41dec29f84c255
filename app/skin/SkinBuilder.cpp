// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinBuilder.h"

#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinColorPalette.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinEdit.h"
#include "app/skin/SkinImage.h"
#include "app/skin/SkinLabel.h"
#include "app/skin/SkinList.h"
#include "app/skin/SkinListElement.h"
#include "app/skin/SkinManager.h"
#include "app/skin/SkinProgress.h"
#include "app/skin/SkinSlider.h"
#include "app/skin/SkinTabLayout.h"
#include "app/skin/SkinTree.h"
#include "app/skin/SkinTreeNode.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace varnix {
namespace {

// Includes deeper than this are taken for a loop.
constexpr int MaxIncludeDepth = 8;

SkinAttributes attributesOf(const QXmlStreamReader& reader) {
    SkinAttributes pairs;
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        pairs.append({attribute.name().toString(), attribute.value().toString()});
    return pairs;
}

QString valueOf(const SkinAttributes& pairs, const QString& name) {
    for (const auto& [key, value] : pairs)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

QSize parseSize(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return {};
    return QSize(parts[0].trimmed().toInt(), parts[1].trimmed().toInt());
}

} // namespace

SkinBuilder::SkinBuilder(SkinManager& manager, CustomFactory custom)
    : manager_(manager), custom_(std::move(custom)) {}

SkinControl* SkinBuilder::createControl(const QString& tag) {
    const QString name = tag.toLower();
    if (name == QLatin1String("verticallayout") || name == QLatin1String("verticallayoutex") ||
        name == QLatin1String("animlayout"))
        return new SkinContainer(SkinContainer::Kind::Vertical);
    if (name == QLatin1String("horizontallayout"))
        return new SkinContainer(SkinContainer::Kind::Horizontal);
    if (name == QLatin1String("container"))
        return new SkinContainer(SkinContainer::Kind::Free);
    if (name == QLatin1String("tablayout"))
        return new SkinTabLayout;
    if (name == QLatin1String("control") || name == QLatin1String("label") ||
        name == QLatin1String("text"))
        return new SkinLabel(nullptr, tag);
    if (name == QLatin1String("button"))
        return new SkinButton;
    if (name == QLatin1String("option"))
        return new SkinOption;
    if (name == QLatin1String("checkbox"))
        return new SkinCheckBox;
    if (name == QLatin1String("edit"))
        return new SkinEdit;
    if (name == QLatin1String("combo"))
        return new SkinCombo;
    if (name == QLatin1String("slider"))
        return new SkinSlider;
    if (name == QLatin1String("progress"))
        return new SkinProgress;
    if (name == QLatin1String("list"))
        return new SkinList;
    if (name == QLatin1String("listcontainerelement"))
        return new SkinListElement(QStringLiteral("ListContainerElement"));
    if (name == QLatin1String("listlabelelement"))
        return new SkinListElement(QStringLiteral("ListLabelElement"));
    if (name == QLatin1String("treeview"))
        return new SkinTree;
    if (name == QLatin1String("treenode"))
        return new SkinTreeNode;
    if (name == QLatin1String("colorpalette"))
        return new SkinColorPalette;
    return nullptr;
}

SkinAttributes SkinBuilder::parseAttributeText(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("([A-Za-z_][\\w]*)\\s*=\\s*\"([^\"]*)\""));
    SkinAttributes pairs;
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        pairs.append({match.captured(1), match.captured(2)});
    }
    return pairs;
}

SkinControl* SkinBuilder::build(const QString& file, SkinWindowInfo* window) {
    const QString path = SkinImage::resolvePath(file);
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("cannot open skin %1").arg(path);
        return nullptr;
    }
    QXmlStreamReader reader(&input);
    SkinControl* root = parseDocument(reader, window);
    if (!root && error_.isEmpty())
        error_ = QStringLiteral("%1: no control").arg(path);
    else if (!root)
        error_ = path + QStringLiteral(": ") + error_;
    return root;
}

SkinControl* SkinBuilder::buildText(const QString& xml, SkinWindowInfo* window) {
    QXmlStreamReader reader(xml);
    return parseDocument(reader, window);
}

SkinControl* SkinBuilder::parseDocument(QXmlStreamReader& reader, SkinWindowInfo* window) {
    error_.clear();
    SkinControl* root = nullptr;
    while (!reader.atEnd() && !reader.hasError()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString tag = reader.name().toString();
        if (tag.compare(QLatin1String("Window"), Qt::CaseInsensitive) == 0) {
            const SkinAttributes pairs = attributesOf(reader);
            if (window) {
                window->size = parseSize(valueOf(pairs, QStringLiteral("size")));
                window->minSize = parseSize(valueOf(pairs, QStringLiteral("mininfo")));
                QRect caption;
                if (parseLtrb(valueOf(pairs, QStringLiteral("caption")), caption))
                    window->captionHeight = caption.bottom() + 1;
                parseSkinColor(valueOf(pairs, QStringLiteral("bkcolor")), window->bkColor);
                window->title = valueOf(pairs, QStringLiteral("title"));
            }
            continue; // its children follow as ordinary elements
        }
        if (tag == QLatin1String("Font")) {
            const SkinAttributes pairs = attributesOf(reader);
            QFont font = manager_.font(-1);
            const QString face = valueOf(pairs, QStringLiteral("name"));
            if (!face.isEmpty())
                font.setFamily(face);
            if (const int size = valueOf(pairs, QStringLiteral("size")).toInt(); size > 0)
                font.setPixelSize(size);
            font.setBold(skinBool(valueOf(pairs, QStringLiteral("bold"))));
            font.setItalic(skinBool(valueOf(pairs, QStringLiteral("italic"))));
            manager_.setFont(valueOf(pairs, QStringLiteral("id")).toInt(), font);
            if (skinBool(valueOf(pairs, QStringLiteral("default"))))
                manager_.setDefaultFont(font);
            reader.skipCurrentElement();
            continue;
        }
        if (tag == QLatin1String("Default") || tag == QLatin1String("Style")) {
            const SkinAttributes pairs = attributesOf(reader);
            const SkinAttributes values =
                parseAttributeText(valueOf(pairs, QStringLiteral("value")));
            const QString key = valueOf(pairs, QStringLiteral("name"));
            if (tag == QLatin1String("Default"))
                defaults_.insert(key.toLower(), values);
            else
                styles_.insert(key, values);
            reader.skipCurrentElement();
            continue;
        }
        SkinControl* control = parseControl(reader, nullptr);
        if (!control)
            break;
        if (root) {
            warnings_ << QStringLiteral("more than one root control; %1 ignored").arg(tag);
            delete control->widget();
            continue;
        }
        root = control;
    }
    if (reader.hasError()) {
        error_ = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
        if (root)
            delete root->widget();
        return nullptr;
    }
    if (root)
        root->attach(&manager_);
    return root;
}

SkinControl* SkinBuilder::include(const QString& file) {
    if (depth_ >= MaxIncludeDepth) {
        warnings_ << QStringLiteral("include of %1 nested too deeply").arg(file);
        return nullptr;
    }
    SkinBuilder nested(manager_, custom_);
    nested.defaults_ = defaults_;
    nested.styles_ = styles_;
    nested.depth_ = depth_ + 1;
    SkinControl* root = nested.build(file);
    warnings_ << nested.warnings_;
    if (!root)
        warnings_ << nested.error_;
    return root;
}

SkinControl* SkinBuilder::parseControl(QXmlStreamReader& reader, SkinControl* parent) {
    const QString tag = reader.name().toString();
    const SkinAttributes pairs = attributesOf(reader);
    if (tag == QLatin1String("Include")) {
        SkinControl* included = include(valueOf(pairs, QStringLiteral("source")));
        reader.skipCurrentElement();
        if (included) {
            // The include's own attributes (name, pos, visible...) apply to its root.
            SkinAttributes rest;
            for (const auto& pair : pairs)
                if (pair.first.compare(QLatin1String("source"), Qt::CaseInsensitive) != 0)
                    rest.append(pair);
            applyAttributes(included, tag, rest);
            if (parent)
                addToParent(parent, included);
        }
        return included;
    }
    if (tag == QLatin1String("Item")) {
        if (auto* combo = dynamic_cast<SkinCombo*>(parent))
            combo->addNamedItem(valueOf(pairs, QStringLiteral("name")),
                                valueOf(pairs, QStringLiteral("text")),
                                valueOf(pairs, QStringLiteral("textid")));
        else
            warnings_ << QStringLiteral("<Item> outside a <Combo>");
        reader.skipCurrentElement();
        return nullptr;
    }
    SkinControl* control = custom_ ? custom_(tag) : nullptr;
    if (!control)
        control = createControl(tag);
    if (!control) {
        warnings_ << QStringLiteral("unknown tag <%1> shown as a plain control").arg(tag);
        control = new SkinLabel(nullptr, QStringLiteral("Control"));
    }
    if (parent)
        addToParent(parent, control);
    applyAttributes(control, tag, pairs);
    parseChildren(reader, control);
    return control;
}

void SkinBuilder::parseChildren(QXmlStreamReader& reader, SkinControl* control) {
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            return;
        if (token == QXmlStreamReader::StartElement)
            parseControl(reader, control);
    }
}

void SkinBuilder::addToParent(SkinControl* parent, SkinControl* child) {
    if (auto* node = dynamic_cast<SkinTreeNode*>(parent)) {
        if (auto* childNode = dynamic_cast<SkinTreeNode*>(child)) {
            if (!node->addChildNode(childNode)) {
                warnings_ << QStringLiteral("a <TreeNode> outside a <TreeView>");
                delete child->widget();
            }
            return;
        }
        node->add(child);
        return;
    }
    if (auto* tree = dynamic_cast<SkinTree*>(parent)) {
        if (auto* node = dynamic_cast<SkinTreeNode*>(child))
            tree->addNode(node);
        else
            tree->add(child);
        return;
    }
    if (auto* list = dynamic_cast<SkinList*>(parent)) {
        list->add(child);
        return;
    }
    if (auto* container = dynamic_cast<SkinContainer*>(parent)) {
        container->add(child);
        return;
    }
    warnings_ << QStringLiteral("%1 cannot hold <%2>").arg(parent->className(), child->className());
    delete child->widget();
}

void SkinBuilder::applyAttributes(SkinControl* control, const QString& tag,
                                  const SkinAttributes& pairs) {
    SkinAttributes all = defaults_.value(tag.toLower());
    const QString style = valueOf(pairs, QStringLiteral("style"));
    if (!style.isEmpty()) {
        if (styles_.contains(style))
            all.append(styles_.value(style));
        else
            warnings_ << QStringLiteral("unknown style \"%1\"").arg(style);
    }
    for (const auto& pair : pairs)
        if (pair.first.compare(QLatin1String("style"), Qt::CaseInsensitive) != 0)
            all.append(pair);
    for (const QString& unknown : control->setAttributeList(all))
        warnings_ << QStringLiteral("<%1> does not know the attribute %2").arg(tag, unknown);
}

} // namespace varnix
