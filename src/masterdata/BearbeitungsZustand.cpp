#include "BearbeitungsZustand.h"

#include "FehlerWeitergabe.h"
#include "Meldung.h"
#include "TKADaoTable.h"

#include <QLabel>
#include <QWidget>

std::optional<TDatensatzBefehl> DatensatzBefehlAusWort(const QString& Befehl)
{
    if (Befehl == QLatin1String("edit"))
        return TDatensatzBefehl::Edit;
    if (Befehl == QLatin1String("append"))
        return TDatensatzBefehl::Append;
    if (Befehl == QLatin1String("post"))
        return TDatensatzBefehl::Post;
    if (Befehl == QLatin1String("delete"))
        return TDatensatzBefehl::Delete;
    if (Befehl == QLatin1String("cancel"))
        return TDatensatzBefehl::Cancel;
    return std::nullopt;
}

void DatensatzBefehlAusfuehren(TKADaoTable* tabelle, TDatensatzBefehl befehl)
{
    switch (befehl) {
    case TDatensatzBefehl::Edit:
        tabelle->Edit();
        break;
    case TDatensatzBefehl::Append:
        tabelle->Append();
        break;
    case TDatensatzBefehl::Post:
        tabelle->Post();
        break;
    case TDatensatzBefehl::Delete:
        tabelle->Delete();
        break;
    case TDatensatzBefehl::Cancel:
        tabelle->Cancel();
        break;
    }
}

void TKnopfLeiste::setzen(bool Bearbeitung) const
{
    for (QWidget* knopf : imBlaettern)
        if (knopf)
            knopf->setEnabled(!Bearbeitung);
    for (QWidget* knopf : imBearbeiten)
        if (knopf)
            knopf->setEnabled(Bearbeitung);
}

void EingabeSetzen(QWidget* eingabePanel, QWidget* gitter, QWidget* ersteEingabe, bool Bearbeitung)
{
    const QList<QWidget*> kinder = eingabePanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* kind : kinder) {
        // Caption labels are plain labels; a data-bound text is a label of a derived class.
        if (kind->metaObject() == &QLabel::staticMetaObject)
            continue;
        kind->setEnabled(Bearbeitung);
    }
    gitter->setEnabled(!Bearbeitung);
    if (Bearbeitung) {
        if (ersteEingabe)
            ersteEingabe->setFocus(Qt::OtherFocusReason);
    } else {
        gitter->setFocus(Qt::OtherFocusReason);
    }
}

TBearbeitungsZustand::TBearbeitungsZustand(Routinen routinen) : m_routinen(std::move(routinen)) {}

void TBearbeitungsZustand::Blaettern()
{
    m_routinen.ButtonsSetzen(false);
    m_routinen.EingabeSetzen(false);
}

void TBearbeitungsZustand::Neu()
{
    m_routinen.ButtonsSetzen(true);
    m_routinen.EingabeSetzen(true);
    try {
        m_routinen.DatensatzBefehl(QStringLiteral("append"));
    } catch (...) {
        if (!Anhaengig())
            Blaettern();
        throw;
    }
}

void TBearbeitungsZustand::Bearbeiten()
{
    m_routinen.ButtonsSetzen(true);
    m_routinen.EingabeSetzen(true);
    try {
        m_routinen.DatensatzBefehl(QStringLiteral("edit"));
    } catch (...) {
        // An edit that did not start (the record was deleted meanwhile, say) leaves no record
        // pending; a record that still is pending keeps the edit state.
        if (!Anhaengig())
            Blaettern();
        throw;
    }
}

void TBearbeitungsZustand::Speichern()
{
    m_routinen.DatensatzBefehl(QStringLiteral("post"));
    Blaettern();
}

void TBearbeitungsZustand::Abbrechen()
{
    m_routinen.DatensatzBefehl(QStringLiteral("cancel"));
    Blaettern();
}

void TBearbeitungsZustand::Loeschen()
{
    const bool ja = Meldung::bestaetigen(QStringLiteral("Bestätigung"), QStringLiteral("Datensatz wirklich löschen ?"));
    if (ja) {
        try {
            m_routinen.DatensatzBefehl(QStringLiteral("delete"));
        } catch (...) {
            Blaettern();
            throw;
        }
    }
    Blaettern();
}

bool TBearbeitungsZustand::Anhaengig() const
{
    const TKADaoTable* tabelle = m_routinen.Tabelle ? m_routinen.Tabelle() : nullptr;
    if (!tabelle)
        return false;
    const TDataSetState zustand = tabelle->State();
    return zustand == TDataSetState::dsEdit || zustand == TDataSetState::dsInsert;
}

bool TBearbeitungsZustand::SchliessenErlaubt(const QString& titel)
{
    if (!Anhaengig())
        return true;
    switch (Meldung::entscheiden(titel, QStringLiteral("Änderungen speichern?"))) {
    case Meldung::Antwort::Ja:
        try {
            Speichern();
        } catch (...) {
            FehlerWeitergeben(std::current_exception());
            return false;
        }
        return true;
    case Meldung::Antwort::Nein:
        Abbrechen();
        return true;
    case Meldung::Antwort::Abbrechen:
        break;
    }
    return false;
}
