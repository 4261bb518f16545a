#pragma once

#include <QByteArray>
#include <QString>

// The code pages of compiled help: pages, context table, contents and index are written in the
// code page of the help project's language unless a page names its own.
namespace Zeichensatz {

// "windows-1252" for German and the other Western languages, "windows-1250" for Central
// European, … ; an unknown or missing language counts as Western.
QByteArray ausSprache(quint32 sprache);
// The charset a page names in its meta tag ("<meta … charset=…>"), or empty.
QByteArray ausSeite(const QByteArray& html);
// The bytes decoded in the given code page; Windows-1252 is decoded by our own table, so it
// works on every Qt build.
QString dekodieren(const QByteArray& bytes, const QByteArray& zeichensatz);

} // namespace Zeichensatz
