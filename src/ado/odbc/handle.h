// Owners for ODBC handles: each frees its handle exactly once, when it
// goes out of scope or is replaced.
#pragma once

#include <sql.h>

#include <utility>

namespace ado::odbc {

template <SQLSMALLINT Type>
class Handle {
 public:
  Handle() = default;
  explicit Handle(SQLHANDLE handle) : handle_(handle) {}
  ~Handle() { reset(); }
  Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, SQLHANDLE{})) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, SQLHANDLE{});
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE get() const { return handle_; }

 private:
  void reset() {
    if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(Type, handle_);
    handle_ = SQL_NULL_HANDLE;
  }

  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

using EnvironmentHandle = Handle<SQL_HANDLE_ENV>;
using ConnectionHandle = Handle<SQL_HANDLE_DBC>;
using StatementHandle = Handle<SQL_HANDLE_STMT>;

}  // namespace ado::odbc
