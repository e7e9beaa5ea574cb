#pragma once

#include <QObject>

#include <functional>

// The call message of the main view: a background thread hands the view a function and its
// argument, the view runs it on its own thread ahead of the events already waiting there, and
// the sender waits until it has run (the download threads refresh the screens this way; they
// must hold none of the view's locks while they wait).
//
// The object lives on the thread that runs the calls (the view's). A call sent from that thread
// runs at once.
class CCallMessage : public QObject
{
    Q_OBJECT

public:
    using Function = void (*)(void* argument);

    explicit CCallMessage(QObject* parent = nullptr);

    // Runs function(argument) on this object's thread and answers 1 once it has run, or 0 when
    // the object went (the view closed) before it could.
    int Send(Function function, void* argument);
    int Send(std::function<void()> call);

protected:
    bool event(QEvent* event) override;
};
