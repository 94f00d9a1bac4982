#pragma once

#include <QMetaObject>
#include <QObject>

#include <utility>

// Runs what once the event being handled now is over, and not at all when
// context is gone by then. The one way the program defers work: a command
// that opens a window must not hold the button press (or the assistive
// tool's call) that asked for it, and a window manager that is still telling
// of a change must not be answered from inside that change.
template<typename Function> void runAfterThisEvent(QObject *context, Function what)
{
    QMetaObject::invokeMethod(context, std::move(what), Qt::QueuedConnection);
}
