#pragma once
// Screens keep their controls private: a test reaches a control by its
// object name, as the help and a person would, and ticks a screen's timer
// the way the event loop does (through its timeout signal).
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QTimer>
#include <stdexcept>
#include <string>

namespace fm::test
{

// The control named `name` under `parent` (a screen, a group box...), of
// type T. A missing name or another type throws, which fails the test with
// both names rather than dereferencing a null pointer later.
template <typename T> T *child(const QObject *parent, const QString &name)
{
    if (!parent)
        throw std::logic_error("no widget to look for \"" + name.toStdString() + "\" in");
    T *found = parent->findChild<T *>(name);
    if (!found)
        throw std::logic_error(std::string("no ") + T::staticMetaObject.className() + " named \"" +
                               name.toStdString() + "\" in " + parent->metaObject()->className());
    return found;
}
template <typename T> T *child(const QObject *parent, const char *name)
{
    return child<T>(parent, QString::fromLatin1(name));
}
// Numbered controls: "Btn_E" and 7 name "Btn_E7".
template <typename T> T *child(const QObject *parent, const char *name, int number)
{
    return child<T>(parent, QString::fromLatin1(name) + QString::number(number));
}

// One tick of the running timer `name` of a screen. A stopped timer cannot
// tick in the program, so ticking one fails the test.
inline void tick(const QObject *screen, const char *name)
{
    QTimer *timer = child<QTimer>(screen, name);
    if (!timer->isActive())
        throw std::logic_error(std::string("timer \"") + name + "\" ticked while stopped");
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
}

} // namespace fm::test
