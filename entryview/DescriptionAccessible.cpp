#include "entryview/DescriptionAccessible.h"

#include "app/Twips.h"
#include "entryview/DescriptionBox.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <vector>

namespace {

// Where the drawn piece holding character `offset` of the reading text is; -1 for a line feed or
// an offset outside the text.
int PieceAt(const DescriptionBox& box, int offset) {
    const auto& starts = box.Reading().printStarts;
    if (offset < 0 || starts.size() != box.Drawing().size())
        return -1;
    const auto after = std::upper_bound(starts.begin(), starts.end(), qsizetype(offset));
    if (after == starts.begin())
        return -1;
    const int piece = int(after - starts.begin()) - 1;
    const qsizetype within = offset - starts[std::size_t(piece)];
    return within < box.Drawing()[std::size_t(piece)].text.size() ? piece : -1;
}

// One link region that drew text, as a child of the description. It belongs to one drawing: once
// the box has drawn anything else it is an invalid object that answers nothing and does nothing.
class LinkAccessible : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public QAccessibleHyperlinkInterface {
public:
    LinkAccessible(DescriptionBox* box, quint64 drawing, int child)
        : box_(box), drawing_(drawing), child_(child) {}

    bool isValid() const override {
        return box_ && box_->DrawingNumber() == drawing_ &&
               child_ < box_->Links().VisibleRegionCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return box_ && box_->window() ? box_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return isValid() ? QAccessible::queryAccessibleInterface(box_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return QString();
        return box_->Links().Link(Link()).text;
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return QRect();
        const HyperText::LinkRegion& r = box_->Links().Region(Region());
        const QRect local = box_->ViewRect(r.Left, r.Top, r.Right, r.Bottom);
        return QRect(box_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            s.invisible = true;
            return s;
        }
        s.focusable = true;
        s.linked = true;
        s.focused = box_->hasFocus() && box_->CurrentLink() == Link();
        const HyperText::LinkRegion& r = box_->Links().Region(Region());
        const QRect local = box_->ViewRect(r.Left, r.Top, r.Right, r.Bottom);
        s.offscreen = !box_->rect().intersects(local);
        s.invisible = !box_->isVisible() || s.offscreen;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        if (t == QAccessible::HyperlinkInterface)
            return static_cast<QAccessibleHyperlinkInterface*>(this);
        return nullptr;
    }

    // QAccessibleActionInterface: pressing follows the link, as a click does.
    QStringList actionNames() const override {
        if (!isValid())
            return {};
        return {pressAction(), setFocusAction()};
    }
    void doAction(const QString& name) override {
        if (!isValid())
            return;
        if (name == pressAction()) {
            box_->FollowLink(Region());
        } else if (name == setFocusAction()) {
            box_->setFocus(Qt::OtherFocusReason);
            box_->SetCurrentLink(Link());
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (isValid() && name == pressAction())
            return {QStringLiteral("Return")};
        return {};
    }

    // QAccessibleHyperlinkInterface: where the link's characters stand in the description.
    QString anchor() const override { return text(QAccessible::Name); }
    QString anchorTarget() const override { return QString(); }
    int startIndex() const override {
        return isValid() ? int(box_->Reading().regionSpans[std::size_t(Region())].start) : -1;
    }
    int endIndex() const override {
        return isValid() ? int(box_->Reading().regionSpans[std::size_t(Region())].end) : -1;
    }

private:
    int Region() const { return box_->Links().VisibleRegion(child_); }
    int Link() const { return box_->Links().LinkOfRegion(Region()); }

    QPointer<DescriptionBox> box_;
    quint64 drawing_;
    int child_;
};

// The description box: a read-only text of several lines, with its links as children (and the
// scroll bar after them while it is shown).
class DescriptionBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DescriptionBoxAccessible(DescriptionBox* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}
    ~DescriptionBoxAccessible() override {
        DeleteLinks(current_);
        DeleteLinks(retired_);
    }

    DescriptionBox* Box() const { return static_cast<DescriptionBox*>(widget()); }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.editable = false;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return Box()->Reading().text;
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    int childCount() const override {
        return LinkCount() + (Box()->ScrollBar()->isVisible() ? 1 : 0);
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0)
            return nullptr;
        if (index < LinkCount())
            return LinkChild(index);
        if (index == LinkCount() && Box()->ScrollBar()->isVisible())
            return QAccessible::queryAccessibleInterface(Box()->ScrollBar());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->isValid())
            return -1;
        if (child->object() == Box()->ScrollBar())
            return Box()->ScrollBar()->isVisible() ? LinkCount() : -1;
        auto* self = const_cast<QAccessibleInterface*>(child);
        const QAccessible::Id id = QAccessible::uniqueId(self);
        const auto found = std::find(current_.begin(), current_.end(), id);
        return found == current_.end() ? -1 : int(found - current_.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = Box()->mapFromGlobal(QPoint(x, y));
        if (Box()->ScrollBar()->isVisible() && Box()->ScrollBar()->geometry().contains(local))
            return QAccessible::queryAccessibleInterface(Box()->ScrollBar());
        const auto& links = Box()->Links();
        for (int i = 0; i < links.VisibleRegionCount(); ++i) {
            const HyperText::LinkRegion& r = links.Region(links.VisibleRegion(i));
            if (Box()->ViewRect(r.Left, r.Top, r.Right, r.Bottom).contains(local))
                return LinkChild(i);
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const int link = Box()->CurrentLink();
        if (!Box()->hasFocus() || link < 0)
            return nullptr;
        return LinkChild(Box()->Links().VisibleIndex(Box()->Links().Link(link).firstRegion));
    }

    // Link children of the drawing now shown, made when first asked for.
    QAccessibleInterface* LinkChild(int index) const {
        if (index < 0 || index >= LinkCount())
            return nullptr;
        current_.resize(std::size_t(LinkCount()), 0);
        QAccessible::Id& id = current_[std::size_t(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(
                new LinkAccessible(Box(), Box()->DrawingNumber(), index));
        return QAccessible::accessibleInterface(id);
    }
    // The link children made so far, for the events that say they are gone.
    std::vector<QAccessibleInterface*> MadeLinks() const {
        std::vector<QAccessibleInterface*> made;
        for (QAccessible::Id id : current_) {
            if (id != 0)
                made.push_back(QAccessible::accessibleInterface(id));
        }
        return made;
    }
    // A new drawing: the children made for the one before it are deleted, those of the last one
    // are kept (invalid) until the next drawing, and the reading starts at the beginning.
    void Redrawn() {
        DeleteLinks(retired_);
        retired_.swap(current_);
        cursor_ = 0;
    }

    // QAccessibleTextInterface: the drawn text, without selection; the reading position is a
    // caret of its own that scrolls the box to what is read.
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return std::clamp(cursor_, 0, characterCount()); }
    void setCursorPosition(int position) override {
        cursor_ = std::clamp(position, 0, characterCount());
        scrollToSubstring(cursor_, cursor_ + 1);
    }
    QString text(int startOffset, int endOffset) const override {
        const QString& all = Box()->Reading().text;
        const int start = std::clamp(startOffset, 0, int(all.size()));
        const int end = std::clamp(endOffset, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(Box()->Reading().text.size()); }
    QRect characterRect(int offset) const override {
        const QRect local = CharacterRectInBox(offset);
        return local.isNull() ? QRect() : QRect(Box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const DescriptionBox& box = *Box();
        const QPointF local = box.mapFromGlobal(QPointF(point));
        const double y = (local.y() + box.ScrollOffset()) * Twips::kPerPixel;
        const double x = local.x() * Twips::kPerPixel;
        for (std::size_t k = 0; k < box.Drawing().size(); ++k) {
            const DescriptionBox::DrawnText& piece = box.Drawing()[k];
            const QFontMetricsF metrics(piece.font);
            const double bottom = piece.y + metrics.height() * Twips::kPerPixel;
            if (y < piece.y || y >= bottom || x < piece.x)
                continue;
            double right = piece.x;
            for (qsizetype i = 0; i < piece.text.size(); ++i) {
                const qsizetype length = piece.text[i].isHighSurrogate() ? 2 : 1;
                right += metrics.horizontalAdvance(piece.text.mid(i, length)) * Twips::kPerPixel;
                if (x < right)
                    return int(box.Reading().printStarts[k] + i);
                i += length - 1;
            }
        }
        return -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        const QRect first = CharacterRectInBox(startIndex);
        const QRect last = CharacterRectInBox(std::max(startIndex, endIndex - 1));
        if (first.isNull())
            return;
        const int offset = Box()->ScrollOffset();
        const int bottom = last.isNull() ? first.bottom() : std::max(first.bottom(), last.bottom());
        Box()->ScrollToShow((first.top() + offset) * Twips::kPerPixel,
                            (bottom + 1 + offset) * Twips::kPerPixel);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        const int piece = PieceAt(*Box(), offset);
        if (piece < 0) {
            *startOffset = offset;
            *endOffset = offset + 1;
            return QString();
        }
        const DescriptionBox::DrawnText& p = Box()->Drawing()[std::size_t(piece)];
        *startOffset = int(Box()->Reading().printStarts[std::size_t(piece)]);
        *endOffset = *startOffset + int(p.text.size());
        QString attributes =
            QStringLiteral("color:rgb(%1,%2,%3);").arg(p.color.r).arg(p.color.g).arg(p.color.b);
        if (p.font.bold())
            attributes += QStringLiteral("font-weight:bold;");
        if (p.font.italic())
            attributes += QStringLiteral("font-style:italic;");
        if (p.font.underline())
            attributes += QStringLiteral("text-underline-style:solid;");
        return attributes;
    }

private:
    int LinkCount() const { return Box()->Links().VisibleRegionCount(); }

    // The character's rectangle in the box's pixels as now scrolled; null for a line feed.
    QRect CharacterRectInBox(int offset) const {
        const DescriptionBox& box = *Box();
        const int piece = PieceAt(box, offset);
        if (piece < 0)
            return QRect();
        const DescriptionBox::DrawnText& p = box.Drawing()[std::size_t(piece)];
        const qsizetype within = offset - box.Reading().printStarts[std::size_t(piece)];
        const QFontMetricsF metrics(p.font);
        const qsizetype length = p.text[within].isHighSurrogate() ? 2 : 1;
        const double left =
            double(p.x) / Twips::kPerPixel + metrics.horizontalAdvance(p.text.left(within));
        const double top = double(p.y) / Twips::kPerPixel - box.ScrollOffset();
        return QRectF(left, top, metrics.horizontalAdvance(p.text.mid(within, length)),
                      metrics.height())
            .toAlignedRect();
    }

    static void DeleteLinks(std::vector<QAccessible::Id>& ids) {
        for (QAccessible::Id id : ids) {
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
        }
        ids.clear();
    }

    mutable std::vector<QAccessible::Id> current_;
    std::vector<QAccessible::Id> retired_;
    int cursor_ = 0;
};

QAccessibleInterface* DescriptionFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("DescriptionBox") && object && object->isWidgetType())
        return new DescriptionBoxAccessible(static_cast<DescriptionBox*>(object));
    return nullptr;
}

DescriptionBoxAccessible* PaneOf(DescriptionBox* box) {
    return dynamic_cast<DescriptionBoxAccessible*>(QAccessible::queryAccessibleInterface(box));
}

} // namespace

namespace DescriptionAccessibility {

void Install() {
    static const bool installed = [] {
        QAccessible::installFactory(DescriptionFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void LinksRemoving(DescriptionBox* box) {
    DescriptionBoxAccessible* pane = PaneOf(box);
    if (!pane)
        return;
    for (QAccessibleInterface* link : pane->MadeLinks()) {
        QAccessibleEvent gone(link, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&gone);
    }
}

void DrawingReplaced(DescriptionBox* box, const QString& previousText) {
    DescriptionBoxAccessible* pane = PaneOf(box);
    if (!pane)
        return;
    pane->Redrawn();
    if (previousText != box->Reading().text) {
        QAccessibleTextUpdateEvent changed(box, 0, previousText, box->Reading().text);
        QAccessible::updateAccessibility(&changed);
    }
}

void CurrentLinkChanged(DescriptionBox* box) {
    if (!box->hasFocus())
        return;
    DescriptionBoxAccessible* pane = PaneOf(box);
    if (!pane)
        return;
    if (QAccessibleInterface* link = pane->focusChild()) {
        QAccessibleEvent focus(link, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    } else {
        QAccessibleEvent focus(box, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

} // namespace DescriptionAccessibility
