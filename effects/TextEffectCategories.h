// The entries of the text-effect category selectors (ComboBox_texiao_fenlei of the text-effect window and
// ComboBox_wenzitexiao_fenlei of the automatic window): 21 categories with a separator after each.
#pragma once

#include <QString>
#include <QStringList>

namespace lumiset {

// All 42 entries in selector order: category entries at even indexes, separators at odd ones.
const QStringList& TextEffectCategoryEntries();

// Index of the entry "01 全部文字元素", which lists every category.
constexpr int kAllCategoriesIndex = 0;

// True for a separator entry; also for an index outside the selector.
bool IsCategorySeparator(int index);

// The category folder number C an entry selects: index div 2; 0 means all categories.
int CategoryOfEntry(int index);

} // namespace lumiset
