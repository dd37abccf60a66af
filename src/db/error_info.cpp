#include "db/error_info.h"

#include <exception>
#include <new>
#include <stdexcept>

#include "ado/error.h"

namespace db {

namespace {

constexpr std::int32_t kOverflow = 6;
constexpr std::int32_t kOutOfMemory = 7;
constexpr std::int32_t kSubscriptOutOfRange = 9;

ErrorInfo infoOf(std::int32_t number, const char* description) {
  return {number, QString::fromUtf8(description)};
}

}  // namespace

ErrorInfo CaughtError() {
  try {
    throw;
  } catch (const ado::Error& e) {
    return infoOf(e.number(), e.what());
  } catch (const std::bad_alloc& e) {
    return infoOf(kOutOfMemory, e.what());
  } catch (const std::overflow_error& e) {
    return infoOf(kOverflow, e.what());
  } catch (const std::out_of_range& e) {
    return infoOf(kSubscriptOutOfRange, e.what());
  } catch (const std::exception& e) {
    return infoOf(ado::errc::kProviderFailure, e.what());
  } catch (...) {
    return infoOf(ado::errc::kProviderFailure, "Unknown error");
  }
}

}  // namespace db
