// Typed settings store: integers, reals, arrays and string lists turned into
// text or raw bytes over four primitives (text and raw, read and write) that
// a derived store provides.
//
// Every block a getter hands out is new[]-allocated and belongs to the
// caller, who frees it with delete[]: texts as char[], raw data as char[]
// (delete[] static_cast<char*>(data)), int and double arrays as int[] and
// double[], string arrays as one char*[] block that also holds the strings.
// On false nothing is handed out (the pointer is null), though GetInt and
// GetDouble may still have stored a number.
#pragma once

#include <cstddef>

class ini_store {
 public:
  ini_store();
  virtual ~ini_store();

  virtual void Close() = 0;

  // Text mode: the text first, the raw value when there is no text; raw
  // mode the other way round. The first value found decides.
  virtual bool GetInt(const char* key, int* out);
  virtual bool SetInt(const char* key, int value);
  // The raw value first whatever the mode, then the text ("1;2;3").
  virtual bool GetIntArray(const char* key, int** out, size_t* count);
  virtual bool SetIntArray(const char* key, const int* values, size_t count);
  virtual bool GetDouble(const char* key, double* out);
  virtual bool SetDouble(const char* key, const double& value);
  virtual bool GetDoubleArray(const char* key, double** out, size_t* count);
  virtual bool SetDoubleArray(const char* key, const double* values, size_t count);

  virtual bool GetString(const char* key, char** out) = 0;
  virtual bool SetString(const char* key, const char* value) = 0;

  // Always raw: the strings back to back, each followed by a NUL.
  virtual bool GetStringArray(const char* key, char*** out, size_t* count);
  virtual bool SetStringArray(const char* key, const char* const* strings, size_t count);

  virtual bool GetRaw(const char* key, void** data, size_t* size) = 0;
  virtual bool SetRaw(const char* key, const void* data, size_t size) = 0;

  // true: typed values are written as text, false: as raw bytes.
  bool textMode;
};
