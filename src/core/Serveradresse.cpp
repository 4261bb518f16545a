#include "Serveradresse.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

const QString Schema = QStringLiteral("postgresql://");
const QString SchemaKurz = QStringLiteral("postgres://");

QString entschluesseln(const QString& teil)
{
    return QUrl::fromPercentEncoding(teil.toUtf8());
}

} // namespace

bool Serveradresse::istServerText(const QString& text)
{
    const QString t = text.trimmed();
    return t.startsWith(Schema, Qt::CaseInsensitive) || t.startsWith(SchemaKurz, Qt::CaseInsensitive);
}

std::optional<Serveradresse> Serveradresse::lesen(const QString& text)
{
    if (!istServerText(text))
        return std::nullopt;
    // benutzer@host:port/name?host=...; every part but the name may be left out. A host in
    // brackets is an IPv6 address.
    static const QRegularExpression muster(QStringLiteral(
        R"(^postgres(?:ql)?://(?:([^@/?]*)@)?(\[[^\]]*\]|[^:/?]*)(?::(\d{1,5}))?/([^?]+)(?:\?(.*))?$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch treffer = muster.match(text.trimmed());
    if (!treffer.hasMatch())
        return std::nullopt;
    Serveradresse adresse;
    adresse.benutzer = entschluesseln(treffer.captured(1));
    adresse.host = entschluesseln(treffer.captured(2));
    if (adresse.host.startsWith(QLatin1Char('[')))
        adresse.host = adresse.host.mid(1, adresse.host.size() - 2);
    if (!treffer.captured(3).isEmpty()) {
        adresse.port = treffer.captured(3).toInt();
        if (adresse.port < 1 || adresse.port > 65535)
            return std::nullopt;
    }
    adresse.name = entschluesseln(treffer.captured(4));
    const QUrlQuery weitere(treffer.captured(5));
    if (weitere.hasQueryItem(QStringLiteral("host")))
        adresse.host = weitere.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (weitere.hasQueryItem(QStringLiteral("port"))) {
        bool ok = false;
        adresse.port = weitere.queryItemValue(QStringLiteral("port")).toInt(&ok);
        if (!ok || adresse.port < 1 || adresse.port > 65535)
            return std::nullopt;
    }
    if (adresse.name.isEmpty() || adresse.name.contains(QLatin1Char('/')))
        return std::nullopt;
    return adresse;
}

QString Serveradresse::text() const
{
    const auto teil = [](const QString& s) { return QString::fromUtf8(QUrl::toPercentEncoding(s)); };
    QString ergebnis = Schema;
    if (!benutzer.isEmpty())
        ergebnis += teil(benutzer) + QLatin1Char('@');
    const bool ordner = host.startsWith(QLatin1Char('/'));
    if (!ordner)
        ergebnis += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : teil(host);
    ergebnis += QLatin1Char(':') + QString::number(port) + QLatin1Char('/') + teil(name);
    if (ordner)
        ergebnis += QStringLiteral("?host=") + teil(host);
    return ergebnis;
}

QString Serveradresse::anzeige() const
{
    const QString ort = host.isEmpty() ? QStringLiteral("localhost") : host;
    return QStringLiteral("%1 auf %2:%3").arg(name, ort).arg(port);
}
