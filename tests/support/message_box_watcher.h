// Watches for message boxes of this process from a second thread, records what each showed and
// answers it with its default button, so code that shows a modal box can run unattended.
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct SeenMessageBox {
  std::wstring caption;
  std::wstring text;
  std::vector<std::wstring> buttons;  // captions of the push buttons, in z-order
  bool exclamation_icon = false;
};

class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  std::vector<SeenMessageBox> Seen();

 private:
  void Run();

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenMessageBox> seen_;
  std::thread thread_;
};

}  // namespace testing_support
