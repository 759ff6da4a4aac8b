#pragma once
#include <string>

namespace tarnbook::platform {

// Holds an exclusive lock on a file in the app folder for the life of the object, so that a
// second instance of the program can notice the first and end silently.
class SingleInstance {
  public:
    explicit SingleInstance(const std::string& folder, const std::string& name = "tarnbook.lock");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool isFirst() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace tarnbook::platform
