#pragma once

#include <QTreeWidget>

#include <functional>

class QWidget;

// A property inspector: a tree of captions with an editor for each value beside them. Groups
// hang their items under a caption; each item reads its value through a getter and hands a
// change at once to its setter. Kinds: text, yes/no, alignment (three buttons), colour (choice
// with preview), font name (installed fonts) and font style (bold, italic, underline).
class TEigenschaftenEditor : public QTreeWidget
{
    Q_OBJECT

public:
    explicit TEigenschaftenEditor(QWidget* eltern = nullptr);

    // A caption without a value (a group, or a heading shown bold); items hang under it.
    QTreeWidgetItem* gruppe(const QString& titel, QTreeWidgetItem* eltern = nullptr, bool fett = false);
    // A caption with a value shown only.
    QTreeWidgetItem* anzeige(const QString& titel, std::function<QString()> lesen, QTreeWidgetItem* eltern = nullptr,
                             bool fett = false);
    QTreeWidgetItem* text(const QString& titel, std::function<QString()> lesen,
                          std::function<void(const QString&)> schreiben, QTreeWidgetItem* eltern = nullptr);
    QTreeWidgetItem* janein(const QString& titel, std::function<bool()> lesen, std::function<void(bool)> schreiben,
                            QTreeWidgetItem* eltern = nullptr);
    QTreeWidgetItem* ausrichtung(const QString& titel, std::function<Qt::Alignment()> lesen,
                                 std::function<void(Qt::Alignment)> schreiben, QTreeWidgetItem* eltern = nullptr);
    QTreeWidgetItem* farbe(const QString& titel, std::function<QColor()> lesen, std::function<void(const QColor&)> schreiben,
                           QTreeWidgetItem* eltern = nullptr);
    QTreeWidgetItem* schriftart(const QString& titel, std::function<QString()> lesen,
                                std::function<void(const QString&)> schreiben, QTreeWidgetItem* eltern = nullptr);
    QTreeWidgetItem* schriftstil(const QString& titel, std::function<QFont()> lesen, std::function<void(const QFont&)> schreiben,
                                 QTreeWidgetItem* eltern = nullptr);

    // Removes every item.
    void leeren();
    // Every editor shows its value again (after the edited object changed elsewhere).
    void aktualisieren();

    // The editor widget of an item, for tests.
    QWidget* editorVon(const QTreeWidgetItem* eintrag) const;

    // The colour dialog; tests replace it by a fixed choice. Returns an invalid colour on cancel.
    std::function<QColor(const QColor& vorher, QWidget* eltern)> farbWahl;

private:
    QTreeWidgetItem* eintrag(const QString& titel, QTreeWidgetItem* eltern, QWidget* editor, std::function<void()> anzeigen);

    QList<std::function<void()>> m_anzeigen;
};
