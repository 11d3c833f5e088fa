// The one catch of the windows' slots and event handlers: an error never reaches Qt's event
// loop. Guarded(messages, fn) runs fn; an error is shown as a critical message with its text
// (what()) and the call returns fn's value-initialised result (false, nullptr, nothing). A
// ProgramEnd, whose message has been shown already, ends the event loop with its exit code.
// Guard(messages, fn) is fn made into a callable that runs guarded, for a widget's hooks.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <exception>
#include <type_traits>
#include <utility>

#include "process/messages.h"
#include "process/program_end.h"

template <typename Fn>
std::invoke_result_t<Fn&> Guarded(Messages& messages, Fn&& fn) {
  try {
    return fn();
  } catch (const ProgramEnd& end) {
    QCoreApplication::exit(end.exit_code);
  } catch (const std::exception& e) {
    messages.Critical(QString::fromUtf8(e.what()));
  }
  return std::invoke_result_t<Fn&>();
}

template <typename Fn>
auto Guard(Messages& messages, Fn fn) {
  return [&messages, fn = std::move(fn)](auto&&... args) {
    return Guarded(messages, [&] { return fn(std::forward<decltype(args)>(args)...); });
  };
}
