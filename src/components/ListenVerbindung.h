#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class TDataSource;

struct TListenEintrag
{
    QVariant schluessel;
    QString text;
};

// A list dataset seen as key and shown text, for lookup boxes and lookup columns. A key is
// looked up through the dataset's own index whenever asked; the full list for a drop-down is
// read once and kept until the list dataset changes.
class TListenVerbindung : public QObject
{
    Q_OBJECT
public:
    explicit TListenVerbindung(QObject* besitzer);

    void setListe(TDataSource* liste, const QString& schluessel, const QString& anzeige);
    TDataSource* liste() const;

    const QList<TListenEintrag>& eintraege() const;
    // The shown text of the row with this key; empty when there is none.
    QString textZu(const QVariant& schluessel) const;

signals:
    void geaendert();

private:
    void verwerfen();

    QPointer<TDataSource> m_liste;
    QString m_schluessel;
    QString m_anzeige;
    mutable bool m_gelesen = false;
    mutable QList<TListenEintrag> m_eintraege;
};
