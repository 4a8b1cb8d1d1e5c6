#pragma once

#include <string>

namespace strumlet {

// The picture a message box shows beside its text.
enum class MessageIcon { None, Information, Exclamation, Error };

// The one way the lower layers tell the user something. The application shows a modal
// message box, the command line prints one line on standard error, tests record the texts.
class Messenger {
 public:
  virtual ~Messenger() = default;
  // Shows one message and returns when the user has seen it. `caption` may be empty, meaning
  // the application's own title.
  virtual void ShowMessage(const std::string& caption, const std::string& text,
                           MessageIcon icon) = 0;
};

// Drops every message, for runs nobody watches (fuzzing, benchmarks).
class SilentMessenger final : public Messenger {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
};

// The process-wide messenger. Until one is installed, messages go to standard error.
Messenger& GetMessenger();
// Installs `messenger` (not owned; nullptr restores the standard-error default) and returns the
// previous one, so a caller can put it back.
Messenger* SetMessenger(Messenger* messenger);

// Shorthand for GetMessenger().ShowMessage(caption, text, icon).
void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon);
// A message as the application framework shows one when no icon is asked for: under the
// application's title (empty caption) with the exclamation mark, under any other caption plain.
void ShowMessage(const std::string& caption, const std::string& text);

// Installs a messenger for the lifetime of the guard.
class ScopedMessenger {
 public:
  explicit ScopedMessenger(Messenger& messenger) : previous_(SetMessenger(&messenger)) {}
  ~ScopedMessenger() { SetMessenger(previous_); }
  ScopedMessenger(const ScopedMessenger&) = delete;
  ScopedMessenger& operator=(const ScopedMessenger&) = delete;

 private:
  Messenger* previous_;
};

}  // namespace strumlet
