#include "SqlText.h"

#include <QTest>

// The rewriting of SELECT texts for detail datasets and the aliases of joined tables.
class TstSqlText : public QObject
{
    Q_OBJECT

private slots:
    void bedingungEinfuegen_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("ohne WHERE, mit ORDER BY und Blank am Ende")
            << "select * from Aufgaben_Aktuell order by prioritaet "
            << "select * from Aufgaben_Aktuell\nWHERE X = ?\norder by prioritaet";
        QTest::newRow("WHERE mit OR wird geklammert")
            << "select * from t where a = 1 or b = 2"
            << "select * from t WHERE (X = ?) AND (a = 1 or b = 2\n)";
        QTest::newRow("zweizeilig, WHERE am Zeilenanfang")
            << "select * from projektaufgaben p, status s \nwhere (p.status_id = s.id)"
            << "select * from projektaufgaben p, status s \nWHERE (X = ?) AND ((p.status_id = s.id)\n)";
        QTest::newRow("WHERE in Unterabfrage und Text zählt nicht")
            << "select * from (select * from t where a = 'where') order by b"
            << "select * from (select * from t where a = 'where')\nWHERE X = ?\norder by b";
        QTest::newRow("Name in Klammern, Zeilenkommentar, Semikolon")
            << "select [where] from t -- order by\n group by a;"
            << "select [where] from t -- order by\nWHERE X = ?\ngroup by a";
        QTest::newRow("UNION wird eingeschlossen")
            << "select a from t union select a from u"
            << "SELECT * FROM (select a from t union select a from u\n) WHERE X = ?";
        QTest::newRow("LIMIT")
            << "select * from t limit 5"
            << "select * from t\nWHERE X = ?\nlimit 5";
    }

    void bedingungEinfuegen()
    {
        QFETCH(QString, sql);
        QFETCH(QString, erwartet);
        QCOMPARE(SqlText::bedingungEinfuegen(sql, QStringLiteral("X = ?")), erwartet);
    }

    void aliasVon_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("tabelle");
        QTest::addColumn<QString>("alias");
        const QString bericht = QStringLiteral("select * from projektaufgaben p, status s, aufgaben a, personal m \n"
                                               "where (p.aufgabe_id = a.id)");
        QTest::newRow("erste Tabelle") << bericht << "ProjektAufgaben" << "p";
        QTest::newRow("letzte Tabelle vor WHERE") << bericht << "Personal" << "m";
        QTest::newRow("mit AS und JOIN") << "select * from Projekt AS x join Status on 1" << "projekt" << "x";
        QTest::newRow("ohne Alias vor JOIN") << "select * from Projekt join Status s on 1" << "Projekt" << "";
        QTest::newRow("in Klammern") << "select * from [Status] st" << "status" << "st";
        QTest::newRow("nicht vorhanden") << bericht << "Projekt" << "";
    }

    void aliasVon()
    {
        QFETCH(QString, sql);
        QFETCH(QString, tabelle);
        QFETCH(QString, alias);
        QCOMPARE(SqlText::aliasVon(sql, tabelle), alias);
    }

    // The ORDER BY as plain names, or nothing where the order is more than names.
    void sortierung_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("erwartet");  // "name+" / "name-" joined by blanks; "?" for nothing
        QTest::newRow("die Wandliste") << "select * from projekt order by Last_datum" << "Last_datum+";
        QTest::newRow("mehrere, Richtung, Klammern, Alias")
            << "select * from t p order by p.a desc, [b c] ASC , d" << "a- b c+ d+";
        QTest::newRow("ohne ORDER BY") << "select * from t where a = 1" << "";
        QTest::newRow("ORDER BY in Unterabfrage zählt nicht") << "select * from (select * from t order by a)" << "";
        QTest::newRow("mit LIMIT") << "select * from t order by a limit 5" << "a+";
        QTest::newRow("Ausdruck") << "select * from t order by a + 1" << "?";
        QTest::newRow("Spaltennummer") << "select * from t order by 2" << "?";
        QTest::newRow("COLLATE") << "select * from t order by a collate nocase" << "?";
        QTest::newRow("UNION") << "select a from t union select a from u order by a" << "?";
    }

    void sortierung()
    {
        QFETCH(QString, sql);
        QFETCH(QString, erwartet);
        const auto terme = SqlText::sortierung(sql);
        QString text = QStringLiteral("?");
        if (terme) {
            QStringList teile;
            for (const SqlText::Sortierspalte& t : *terme)
                teile << t.spalte + (t.absteigend ? QLatin1Char('-') : QLatin1Char('+'));
            text = teile.join(QLatin1Char(' '));
        }
        QCOMPARE(text, erwartet);
    }

    // The statement without its ORDER BY, for a reader that orders itself.
    void ohneSortierung_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("erwartet");  // "?" for nothing
        QTest::newRow("die Wandliste") << "select * from projekt order by Last_datum" << "select * from projekt";
        QTest::newRow("mit WHERE und Semikolon") << "select * from t where a = 'order by' order by b desc;"
                                                 << "select * from t where a = 'order by'";
        QTest::newRow("ohne ORDER BY") << "select * from t" << "?";
        QTest::newRow("nur in der Unterabfrage") << "select * from (select * from t order by a)" << "?";
        QTest::newRow("mit LIMIT") << "select * from t order by a limit 5" << "?";
        QTest::newRow("UNION") << "select a from t union select a from u order by a" << "?";
    }

    void ohneSortierung()
    {
        QFETCH(QString, sql);
        QFETCH(QString, erwartet);
        QCOMPARE(SqlText::ohneSortierung(sql).value_or(QStringLiteral("?")), erwartet);
    }
};

QTEST_GUILESS_MAIN(TstSqlText)
#include "tst_sqltext.moc"
