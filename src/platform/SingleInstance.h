#pragma once
#include <string>

namespace tarnbook::platform {

// Holds an exclusive lock on a file in the app folder for the life of the object, so that a
// second instance of the program can notice the first and end silently. A lock that cannot
// be made at all (no permission, something else in its place) is no second instance: it is
// a failure, told by failure().
class SingleInstance {
  public:
    explicit SingleInstance(const std::string& folder, const std::string& name = "tarnbook.lock");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool isFirst() const { return fd_ >= 0; }
    // Why the lock could not be made (Japanese, naming the file); empty when it was made or
    // another instance holds it.
    const std::string& failure() const { return failure_; }

  private:
    int fd_ = -1;
    std::string failure_;
};

}  // namespace tarnbook::platform
