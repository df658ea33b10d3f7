#include "effects/TextEffectCategories.h"

namespace lumiset {

namespace {

QStringList buildEntries() {
    static const char16_t* const kNames[] = {u"全部", u"婚纱", u"结婚", u"宝贝", u"童年", u"生日", u"聚会",
                                             u"毕业", u"友谊", u"爱情", u"家庭", u"数码", u"产品", u"成长",
                                             u"喜庆", u"开业", u"春天", u"夏天", u"秋天", u"冬天", u"运动会"};
    QStringList entries;
    int number = 1;
    for (const char16_t* name : kNames) {
        entries.append(
            QStringLiteral("%1 %2文字元素").arg(number, 2, 10, QLatin1Char('0')).arg(QStringView(name)));
        // The separator after "08 毕业文字元素" has always been three dashes shorter.
        entries.append(QString(number == 8 ? 12 : 15, u'-'));
        ++number;
    }
    return entries;
}

} // namespace

const QStringList& TextEffectCategoryEntries() {
    static const QStringList entries = buildEntries();
    return entries;
}

bool IsCategorySeparator(int index) {
    return index < 0 || index >= TextEffectCategoryEntries().size() || index % 2 == 1;
}

int CategoryOfEntry(int index) {
    return index / 2;
}

} // namespace lumiset
