#pragma once
#include <stdexcept>
#include <string>

namespace varnok {

// A failure that ends the current user action (a button handler or a timer tick) and is shown by the
// one top-level error display: conversion failures, files that cannot be opened or written.
class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text the error display shows: the message with a full stop appended when its last character
// sorts after "." (a letter or digit gets one; ".", "!" or ")" do not).
std::string ErrorDisplayText(const std::string& message);

}  // namespace varnok
