// Options of the headless subcommands: "--name value…" groups, each value list running to the next
// option. Unknown options and missing values are errors with a message for the user.
#pragma once

#include <QMap>
#include <QSize>
#include <QStringList>

namespace lumiset::app {

class CommandOptions {
public:
    // `known` lists the accepted option names without dashes; `flags` those that take no value.
    CommandOptions(const QStringList& args, const QStringList& known, const QStringList& flags = {});

    const QStringList& positional() const { return positional_; }
    bool has(const QString& name) const { return values_.contains(name); }
    QStringList values(const QString& name) const { return values_.value(name); }
    // The single value of an option, or `fallback`; throws when given more than once.
    QString value(const QString& name, const QString& fallback = {}) const;
    QString required(const QString& name) const;
    QList<int> integers(const QString& name) const;
    QSize size(const QString& name, QSize fallback) const; // "WxH"

private:
    QStringList positional_;
    QMap<QString, QStringList> values_;
};

} // namespace lumiset::app
