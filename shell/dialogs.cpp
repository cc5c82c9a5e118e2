#include "shell/dialogs.h"
#include "shell/clock.h"
#include "shell/kit.h"
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace fm
{

namespace
{

// A box may open under a child who is still pressing (a game's verdict):
// it ignores presses for a moment and keeps its buttons from the pointer.
void shield(QMessageBox &box)
{
    static const SystemClock clock;
    shieldOpeningWindow(&box, clock);
}

QString appTitle()
{
    return QGuiApplication::applicationDisplayName();
}

void okBox(QWidget *parent, const QString &title, const QString &text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    shield(box);
    box.exec();
}

} // namespace

void MessageBoxDialogs::information(QWidget *parent, const QString &text)
{
    okBox(parent, QStringLiteral("情報"), text, QMessageBox::Information);
}

Answer MessageBoxDialogs::question(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, appTitle(), text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    shield(box);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void MessageBoxDialogs::message(QWidget *parent, const QString &text)
{
    okBox(parent, appTitle(), text, QMessageBox::NoIcon);
}

void MessageBoxDialogs::fatalFileError(QWidget *parent, const QString &text)
{
    okBox(parent, appTitle(), text, QMessageBox::NoIcon);
}

} // namespace fm
