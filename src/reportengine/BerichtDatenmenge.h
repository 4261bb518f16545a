#pragma once

#include <QString>
#include <QVariant>

class TKADaoTable;

/// A named dataset of a report: the report walks it from first to last row and reads fields
/// of its current row by name.
class TBerichtDatenmenge
{
public:
    explicit TBerichtDatenmenge(QString name) : m_name(std::move(name)) {}
    virtual ~TBerichtDatenmenge() = default;
    TBerichtDatenmenge(const TBerichtDatenmenge&) = delete;
    TBerichtDatenmenge& operator=(const TBerichtDatenmenge&) = delete;

    const QString& Name() const { return m_name; }

    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    /// Typed value of a field of the current row (invalid when empty); throws Fehler for an
    /// unknown field.
    virtual QVariant Wert(const QString& feld) const = 0;
    /// Number of rows, for the progress of a run.
    virtual int Anzahl() const = 0;
    /// Reads the rows afresh, so that a new run shows what changed meanwhile.
    virtual void Auffrischen() {}

private:
    QString m_name;
};

/// A report dataset over one of the program's datasets. A detail dataset follows its master
/// through the database layer's master link. The report never opens or closes it.
class TBerichtTabelle : public TBerichtDatenmenge
{
public:
    TBerichtTabelle(QString name, TKADaoTable* tabelle);

    TKADaoTable* Tabelle() const { return m_tabelle; }

    void First() override;
    void Next() override;
    bool Eof() const override;
    QVariant Wert(const QString& feld) const override;
    int Anzahl() const override;
    void Auffrischen() override;

private:
    TKADaoTable* m_tabelle;
};
