#pragma once

#include <QComboBox>

enum class ItemImage;

// A drop-down list of titles, each with an image and an indentation level. Items are
// numbered from 1. Click() is raised only when the user picks an item, never when the
// selection is set from code.
class TitleSelector : public QComboBox {
    Q_OBJECT
public:
    explicit TitleSelector(QWidget* parent = nullptr);

    void Clear();
    void AddItem(const QString& text, ItemImage image, int indent);
    int ListCount() const;
    void SelectItem(int index);  // 1-based
    int SelectedIndex() const;   // 1-based; 0 when nothing is selected
    QString Text() const;        // the selected item's text
    int Indent(int index) const; // of item `index`, 1-based
    ItemImage Image(int index) const;

signals:
    void Click();
};
