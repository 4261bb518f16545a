#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One entry of a help file's contents (.hhc) or index (.hhk): a caption, the topics it leads to
// (none for a plain folder, several for an index keyword) and the entries below it.
struct HilfeEintrag
{
    QString name;
    QStringList ziele;
    QList<HilfeEintrag> kinder;
};

// Reads the loose HTML of a contents or index file: nested lists of sitemap objects with
// "Name" and "Local" parameters; tags in any letter case, quoted or bare values, comments,
// entities and stray list ends are taken as they come.
QList<HilfeEintrag> InhaltsverzeichnisLesen(const QString& html);
