// The reader/writer lock of the scene library's arrays. Readers run
// together; a writer waits until no reader is inside, then holds the mutex;
// a reader that arrives while a writer is registered waits for the mutex.
// The mutex is recursive for the thread that owns it, so a thread may read
// what it is writing. The counts change under one internal lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class GLOpenObject;

class GLSynchronizedObject {
 public:
  GLSynchronizedObject() = default;
  // A copy gets a lock of its own.
  GLSynchronizedObject(const GLSynchronizedObject&) {}
  GLSynchronizedObject& operator=(const GLSynchronizedObject&) { return *this; }
  virtual ~GLSynchronizedObject() = default;

  uint32_t GetReaderCount() const;
  uint32_t GetWriterCount() const;

 private:
  friend class GLOpenObject;
  // Returns whether this thread took the mutex.
  bool OpenRead();
  void OpenWrite();
  void CloseRead(bool heldMutex);
  void CloseWrite();
  void AcquireMutex(std::unique_lock<std::mutex>& lock);
  void ReleaseMutex();

  mutable std::mutex state_;
  std::condition_variable changed_;
  bool noReaders_ = true;  // the no-readers event, signalled at start
  uint32_t readers_ = 0;
  uint32_t writers_ = 0;
  std::thread::id owner_;
  uint32_t ownerDepth_ = 0;
};

// Opens a lock for reading (1) or writing (2) and closes it when it goes.
class GLOpenObject {
 public:
  enum Mode : uint32_t { kClosed = 0, kRead = 1, kWrite = 2 };
  enum Result : uint32_t { kOpened = 0, kOpenForWrite = 1, kOpenForRead = 2, kNoObject = 3 };

  explicit GLOpenObject(GLSynchronizedObject* object) : object_(object) {}
  GLOpenObject(GLSynchronizedObject* object, uint32_t mode) : object_(object) { Open(mode); }
  GLOpenObject(const GLOpenObject&) = delete;
  GLOpenObject& operator=(const GLOpenObject&) = delete;
  virtual ~GLOpenObject() { Close(); }

  uint32_t Open(uint32_t mode);
  void Close();
  uint32_t GetMode() const { return mode_; }

 private:
  GLSynchronizedObject* object_;
  uint32_t mode_ = kClosed;
  bool heldMutex_ = false;
};
