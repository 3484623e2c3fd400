#include "search/ResultListDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace {

QString Abbreviation(const QString& line) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    return tab < 0 ? line : line.left(tab);
}

} // namespace

ResultListDelegate::ResultListDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view), view_(view) {
    // Any change of the lines may change the widest abbreviation.
    QAbstractItemModel* model = view->model();
    const auto forget = [this] { widest_ = -1; };
    connect(model, &QAbstractItemModel::rowsInserted, this, forget);
    connect(model, &QAbstractItemModel::rowsRemoved, this, forget);
    connect(model, &QAbstractItemModel::modelReset, this, forget);
    connect(model, &QAbstractItemModel::dataChanged, this, forget);
}

int ResultListDelegate::WidestAbbreviation(const QFont& font) const {
    if (widest_ >= 0 && font == widestFont_)
        return widest_;
    const QFontMetrics metrics(font);
    const QAbstractItemModel* model = view_->model();
    int widest = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString line = model->index(row, 0).data(Qt::DisplayRole).toString();
        widest = std::max(widest, metrics.horizontalAdvance(Abbreviation(line)));
    }
    widest_ = widest;
    widestFont_ = font;
    return widest;
}

ResultColumns ResultListDelegate::Columns(const QStyleOptionViewItem& option) const {
    const QFontMetrics metrics(option.font);
    return ResultColumnsFor(tabStopPixels_, WidestAbbreviation(option.font),
                            metrics.averageCharWidth(), view_->viewport()->width());
}

void ResultListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    if (tab < 0) {
        painter->drawText(textRect, flags, text);
    } else {
        const ResultColumns columns = Columns(opt);
        const QString first =
            opt.fontMetrics.elidedText(text.left(tab), Qt::ElideRight, columns.firstColumnLimit);
        painter->drawText(textRect, flags, first);
        painter->drawText(textRect.adjusted(columns.secondColumnX, 0, 0, 0), flags,
                          text.mid(tab + 1));
    }
    painter->restore();
}

QSize ResultListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return size;
    const int drawn =
        Columns(opt).secondColumnX + opt.fontMetrics.horizontalAdvance(text.mid(tab + 1));
    const int plain = opt.fontMetrics.horizontalAdvance(text);
    size.setWidth(size.width() - plain + drawn);
    return size;
}
