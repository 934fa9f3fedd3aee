#pragma once
// The one error guard of every window. No exception may cross Qt's event loop, so every event
// handler and every start-up sequence runs inside Guarded.
//
// Shown: whatever reaches the guard, in the error box ("Pelkorin", error icon, the message
// plus "." by ErrorBoxText's rule): conversion errors (a settings number, base number or digit
// run that is no integer), file errors (a folder that can't be entered, a settings file that
// can't be read or written), a settings value the file can't hold, JPEG errors, the
// list-index error; any other exception as "予期しないエラーが発生しました".
//
// Passed over on purpose, caught before they reach the guard, with no box:
// - a folder that can't be opened or listed while the drive changes (Drive1Change), while the
//   listing is read (ReadListing: folder change, refresh, re-read after a run) or while
//   stepping to the next folder (Button5Click): the EFileError is caught there and
//   FolderController::RecoverToProgramFolder sends the lists back to the program's folder;
//   should that fail too, the lists show nothing;
// - a folder whose subfolders can't be listed shows none (FolderListView::rebuild).
// TOpenfolda's drive change does show its error, after putting the drive box back.
#include "ui/messages.h"

#include <QObject>
#include <QWidget>

#include <exception>
#include <string>
#include <type_traits>

// Runs f; any exception it throws is shown in the error box over parent and goes no further.
template <typename F>
void Guarded(QWidget* parent, F&& f)
{
    std::string message;
    try {
        f();
        return;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "予期しないエラーが発生しました";
    }
    ShowErrorBox(parent, message);
}

// Runs handler, a member function of receiver, inside Guarded (boxes over parent) whenever
// sender emits signal. The handler takes the signal's arguments, or none of them.
template <typename Receiver, typename Sender, typename Signal, typename Handler>
void ConnectGuarded(QWidget* parent, Receiver* receiver, Sender* sender, Signal signal, Handler handler)
{
    QObject::connect(sender, signal, receiver, [parent, receiver, handler](auto... args) {
        Guarded(parent, [&] {
            if constexpr (std::is_invocable_v<Handler, Receiver*, decltype(args)...>)
                (receiver->*handler)(args...);
            else
                (receiver->*handler)();
        });
    });
}

// The same for a handler of the window itself.
template <typename Window, typename Sender, typename Signal, typename Handler>
void ConnectGuarded(Window* window, Sender* sender, Signal signal, Handler handler)
{
    ConnectGuarded(window, window, sender, signal, handler);
}
