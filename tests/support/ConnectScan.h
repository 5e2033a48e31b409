#pragma once
#include <cctype>
#include <cstddef>
#include <regex>
#include <string>
#include <vector>

namespace varnok::testing {

// One `connect(` call found in a source text: where it is and its slot argument as written.
struct ConnectCall {
  int line = 0;
  std::string slot;
};

// The source with comments and the contents of string and character literals blanked (line breaks
// kept), so that neither can hide or fake a call.
inline std::string CodeOnly(const std::string& text) {
  std::string out = text;
  enum { Code, LineComment, BlockComment, String, Char } state = Code;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (state) {
      case Code:
        if (c == '/' && next == '/') {
          state = LineComment;
          out[i] = ' ';
        } else if (c == '/' && next == '*') {
          state = BlockComment;
          out[i] = ' ';
        } else if (c == '"') {
          state = String;
        } else if (c == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(text[i - 1])))) {
          state = Char;  // not a digit separator
        }
        break;
      case LineComment:
        if (c == '\n')
          state = Code;
        else
          out[i] = ' ';
        break;
      case BlockComment:
        if (c == '*' && next == '/') {
          out[i] = out[i + 1] = ' ';
          ++i;
          state = Code;
        } else if (c != '\n') {
          out[i] = ' ';
        }
        break;
      case String:
      case Char:
        if (c == '\\') {
          out[i] = ' ';
          if (i + 1 < out.size()) out[++i] = ' ';
        } else if ((state == String && c == '"') || (state == Char && c == '\'')) {
          state = Code;
        } else if (c != '\n') {
          out[i] = ' ';
        }
        break;
    }
  }
  return out;
}

// One call of a function and its arguments as written, blanks around them removed.
struct CallArguments {
  int line = 0;
  std::vector<std::string> args;
};

// Every call of `function` in `text` (a free or qualified call such as QObject::connect, or an object's
// call on itself; not a member call of another object such as a socket's).
inline std::vector<CallArguments> CallsOf(const std::string& text, const std::string& function) {
  const std::string code = CodeOnly(text);
  std::vector<CallArguments> calls;
  const std::string word = function + "(";
  for (std::size_t at = code.find(word); at != std::string::npos; at = code.find(word, at + 1)) {
    if (at > 0) {
      const char before = code[at - 1];
      if (std::isalnum(static_cast<unsigned char>(before)) || before == '_' || before == '.') continue;
      if (before == '>' && at > 1 && code[at - 2] == '-') continue;
    }
    std::vector<std::string> args(1);
    int depth = 0;
    std::size_t i = at + word.size();
    for (; i < code.size(); ++i) {
      const char c = code[i];
      if (c == '(' || c == '{' || c == '[') ++depth;
      if (c == ')' || c == '}' || c == ']') {
        if (depth == 0) break;
        --depth;
      }
      if (c == ',' && depth == 0) {
        args.emplace_back();
        continue;
      }
      args.back() += c;
    }
    CallArguments call;
    for (std::size_t k = 0; k < at; ++k) call.line += code[k] == '\n';
    ++call.line;
    for (std::string& arg : args) {
      const std::size_t first = arg.find_first_not_of(" \t\r\n");
      const std::size_t last = arg.find_last_not_of(" \t\r\n");
      arg = first == std::string::npos ? std::string() : arg.substr(first, last - first + 1);
    }
    call.args = std::move(args);
    calls.push_back(std::move(call));
  }
  return calls;
}

// Every call of Qt's connect with its slot argument: the third of three arguments, else the fourth;
// and every QMetaObject::invokeMethod with the function it queues (its second argument).
inline std::vector<ConnectCall> ConnectCalls(const std::string& text) {
  std::vector<ConnectCall> calls;
  for (const CallArguments& call : CallsOf(text, "connect")) {
    const auto& a = call.args;
    calls.push_back({call.line, a.size() < 3 ? std::string() : (a.size() == 3 ? a[2] : a[3])});
  }
  for (const CallArguments& call : CallsOf(text, "invokeMethod")) {
    calls.push_back({call.line, call.args.size() < 2 ? std::string() : call.args[1]});
  }
  return calls;
}

// A slot that may be connected bare: the program's own handlers go through Guarded; a member of one
// of Qt's own classes (QWidget::update, QCoreApplication::quit) cannot throw the program's failures.
inline bool SlotIsGuarded(const std::string& slot) {
  static const std::regex qtMember(R"(^(qOverload<[^>]*>\()?&Q[A-Z]\w*::\w+\)?$)");
  return slot.rfind("Guarded(", 0) == 0 || std::regex_match(slot, qtMember);
}

}  // namespace varnok::testing
