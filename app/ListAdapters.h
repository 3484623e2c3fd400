#pragma once

#include "data/ListSink.h"

#include <QComboBox>
#include <QListWidget>

// The data layer fills the window's lists through these.
class ListWidgetSink : public ListSink {
public:
    explicit ListWidgetSink(QListWidget* list) : list_(list) {}
    void AddItem(const QString& text, qint32 itemData) override {
        auto* item = new QListWidgetItem(text, list_);
        item->setData(Qt::UserRole, itemData);
    }
    void Clear() override { list_->clear(); }
    int Count() const override { return list_->count(); }

private:
    QListWidget* list_;
};

class ComboBoxSink : public ListSink {
public:
    explicit ComboBoxSink(QComboBox* combo) : combo_(combo) {}
    void AddItem(const QString& text, qint32 itemData) override { combo_->addItem(text, itemData); }
    void Clear() override { combo_->clear(); }
    int Count() const override { return combo_->count(); }

private:
    QComboBox* combo_;
};
