// The syntax tree of a compiled script. Nodes are plain structs owned by their
// parent; a compiled Program is immutable, so one program can run many times,
// also in several instances at once.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scriptkit/runtime/value.h"

namespace scriptkit::lang {

enum class ExprKind {
  Literal,     // value
  Variable,    // name
  Me,          // the script itself (`me`, `my`)
  It,          // the current tell target
  List,        // items
  Record,      // keys, items
  Unary,       // op, operand
  Binary,      // op, left, right
  Coerce,      // operand as <name>, or as target_class (a class found when run)
  Property,    // name of container (null: the tell target)
  ByName,      // element of class `name` named key, of container
  ByIndex,     // element of class `name` at index key, of container
  Every,       // every element of class `name` of container
  Range,       // elements of class `name` from index `from` thru index `thru`, of container
  Delimiters,  // the text item delimiters
  Exists,      // whether operand can be got
  Position,    // `end`/`beginning` (name) of container: where to insert
  Count,       // count of operand
  Call,        // handler `name` with args `items` (container: `of me` / `my`)
  CallMethod,  // selector; receiver (`of object`), or class `name` (class_receiver); args
               // items, or one list computed when the call runs (spread_arguments)
  Make,        // new `name` at place (a Position or container, may be null) with properties
};

enum class Op {
  None,
  Neg,
  Not,
  Add,
  Sub,
  Mul,
  Div,
  IntDiv,
  Mod,
  Pow,
  Concat,
  Eq,
  Ne,
  Lt,
  Le,
  Gt,
  Ge,
  And,
  Or,
  Contains,
  NotContains,
  In,
  NotIn,
  StartsWith,
  EndsWith,
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  ExprKind kind;
  int line = 0;
  Op op = Op::None;
  // CallMethod: the receiver is the class `name`, also when that is "".
  bool class_receiver = false;
  // CallMethod: `with parameters L`, where L is a list only the run gives.
  bool spread_arguments = false;
  std::string name;
  // A literal's value; for a variable, a handler call or a label, the name as
  // written when that differs from `name` (see written_name).
  Value value;
  std::vector<ExprPtr> items;
  std::vector<std::string> keys;

  // The sub-expressions by role; which roles a node has depends on its kind
  // (see ExprKind). Roles of different kinds share a slot, so that a node
  // stays three pointers wide.
  ExprPtr& operand() { return m_parts[0]; }  // Unary, Coerce, Exists, Count
  const ExprPtr& operand() const { return m_parts[0]; }
  ExprPtr& left() { return m_parts[0]; }  // Binary
  const ExprPtr& left() const { return m_parts[0]; }
  ExprPtr& right() { return m_parts[1]; }  // Binary
  const ExprPtr& right() const { return m_parts[1]; }
  ExprPtr& target_class() { return m_parts[1]; }  // Coerce
  const ExprPtr& target_class() const { return m_parts[1]; }
  ExprPtr& key() { return m_parts[0]; }  // ByName, ByIndex
  const ExprPtr& key() const { return m_parts[0]; }
  ExprPtr& from() { return m_parts[0]; }  // Range
  const ExprPtr& from() const { return m_parts[0]; }
  ExprPtr& thru() { return m_parts[2]; }  // Range
  const ExprPtr& thru() const { return m_parts[2]; }
  // What `of` names: Property, ByName, ByIndex, Every, Range, Position, Call.
  ExprPtr& container() { return m_parts[1]; }
  const ExprPtr& container() const { return m_parts[1]; }
  ExprPtr& selector() { return m_parts[0]; }  // CallMethod
  const ExprPtr& selector() const { return m_parts[0]; }
  ExprPtr& receiver() { return m_parts[1]; }  // CallMethod
  const ExprPtr& receiver() const { return m_parts[1]; }
  ExprPtr& place() { return m_parts[0]; }  // Make
  const ExprPtr& place() const { return m_parts[0]; }
  ExprPtr& properties() { return m_parts[1]; }  // Make
  const ExprPtr& properties() const { return m_parts[1]; }

 private:
  std::array<ExprPtr, 3> m_parts;
};

// A variable's or handler's name as the script wrote it, for messages.
inline std::string_view written_name(const Expr& e) {
  return e.value.is_text() ? std::string_view(e.value.as_text()) : std::string_view(e.name);
}

enum class StmtKind {
  Expression,  // value
  Set,         // set target to value (verb "set"), or copy value to target (verb "copy")
  Tell,        // tell target … end tell (body)
  If,          // branches: conditions[i] with blocks[i]; last block alone is `else`
  Repeat,      // see RepeatMode
  ExitRepeat,
  Return,       // value (may be null)
  Log,          // value
  Delete,       // target
  Command,      // verb (start, stop, update) of target (null: the tell target)
  Try,          // body; on error (message_variable, number_variable) blocks[0]
  Error,        // error message number number
  Global,       // names declared global in a handler
  Considering,  // considering (verb "considering") or ignoring case: body
};

// `repeat` (Forever), `repeat times times`, `repeat while condition`,
// `repeat until condition`, `repeat with variable from from to to by by`,
// `repeat with variable in list`.
enum class RepeatMode { Forever, Times, While, Until, FromTo, In };

struct Stmt;
using Block = std::vector<std::unique_ptr<Stmt>>;

struct Stmt {
  StmtKind kind;
  int line = 0;
  RepeatMode mode = RepeatMode::Forever;
  Block body;
  std::vector<ExprPtr> conditions;
  std::vector<Block> blocks;
  std::vector<std::string> names;

  // The words by role (see StmtKind and RepeatMode).
  std::string& verb() { return m_words[0]; }  // Set, Command, Considering
  const std::string& verb() const { return m_words[0]; }
  std::string& variable() { return m_words[0]; }  // Repeat with
  const std::string& variable() const { return m_words[0]; }
  std::string& message_variable() { return m_words[0]; }  // Try
  const std::string& message_variable() const { return m_words[0]; }
  std::string& number_variable() { return m_words[1]; }  // Try
  const std::string& number_variable() const { return m_words[1]; }

  // The expressions by role, sharing slots as Expr's do.
  ExprPtr& value() { return m_parts[0]; }  // Expression, Set, Return, Log
  const ExprPtr& value() const { return m_parts[0]; }
  ExprPtr& target() { return m_parts[1]; }  // Set, Tell, Delete, Command
  const ExprPtr& target() const { return m_parts[1]; }
  ExprPtr& times() { return m_parts[0]; }  // Repeat Times
  const ExprPtr& times() const { return m_parts[0]; }
  ExprPtr& condition() { return m_parts[0]; }  // Repeat While, Until
  const ExprPtr& condition() const { return m_parts[0]; }
  ExprPtr& list() { return m_parts[0]; }  // Repeat In
  const ExprPtr& list() const { return m_parts[0]; }
  ExprPtr& from() { return m_parts[0]; }  // Repeat FromTo
  const ExprPtr& from() const { return m_parts[0]; }
  ExprPtr& to() { return m_parts[1]; }  // Repeat FromTo
  const ExprPtr& to() const { return m_parts[1]; }
  ExprPtr& by() { return m_parts[2]; }  // Repeat FromTo (may be null)
  const ExprPtr& by() const { return m_parts[2]; }
  ExprPtr& message() { return m_parts[0]; }  // Error (may be null)
  const ExprPtr& message() const { return m_parts[0]; }
  ExprPtr& number() { return m_parts[1]; }  // Error (may be null)
  const ExprPtr& number() const { return m_parts[1]; }

 private:
  std::array<std::string, 2> m_words;
  std::array<ExprPtr, 3> m_parts;
};

struct Handler {
  std::string name;      // "clicked", "choose menu item", "foo"
  std::string spelling;  // as written, for messages
  std::vector<std::string> params;
  Block body;
  int line = 0;
};

struct Property {
  std::string name;
  ExprPtr initial;
};

struct Program {
  Block run;  // the top-level statements: the implicit run handler
  std::map<std::string, Handler, std::less<>> handlers;
  std::vector<Property> properties;
  std::vector<std::string> globals;
};

}  // namespace scriptkit::lang
