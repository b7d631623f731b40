// The syntax tree of a compiled script. Nodes are plain structs owned by their
// parent; a compiled Program is immutable, so one program can run many times,
// also in several instances at once.
#pragma once

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
  Unary,       // op, a
  Binary,      // op, a, b
  Coerce,      // a as <name>
  Property,    // name of b (b null: the tell target)
  ByName,      // element of class `name` named a, of b
  ByIndex,     // element of class `name` at index a, of b
  Every,       // every element of class `name` of b
  Range,       // elements of class `name` from index a thru index c, of b
  Delimiters,  // the text item delimiters
  Exists,      // whether a can be got
  Position,    // `end`/`beginning` (name) of b: where to insert
  Count,       // count of a
  Call,        // handler `name` with args `items` (b: `of me` / `my`)
  CallMethod,  // selector a; target b (`of object`) or class `name`; args items
  Make,        // new `name` at a (a Position or container, may be null) with properties b
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

struct Expr {
  ExprKind kind;
  int line = 0;
  Op op = Op::None;
  std::string name;
  // A literal's value; for a variable, a handler call or a label, the name as
  // written when that differs from `name` (see written_name).
  Value value;
  std::unique_ptr<Expr> a;
  std::unique_ptr<Expr> b;
  std::unique_ptr<Expr> c;
  std::vector<std::unique_ptr<Expr>> items;
  std::vector<std::string> keys;
};
using ExprPtr = std::unique_ptr<Expr>;

// A variable's or handler's name as the script wrote it, for messages.
inline std::string_view written_name(const Expr& e) {
  return e.value.is_text() ? std::string_view(e.value.as_text()) : std::string_view(e.name);
}

enum class StmtKind {
  Expression,  // a
  Set,         // set a to b
  Tell,        // tell a … end tell (body)
  If,          // branches: conditions[i] with blocks[i]; last block alone is `else`
  Repeat,      // see RepeatMode
  ExitRepeat,
  Return,       // a (may be null)
  Log,          // a
  Delete,       // a
  Command,      // `name` (start, stop, update) of a (null: the tell target)
  Try,          // body; on error (name: message variable, name2: number variable) blocks[0]
  Error,        // error a number b
  Global,       // names declared global in a handler
  Considering,  // considering (name "considering") or ignoring case: body
};

enum class RepeatMode { Forever, Times, While, Until, FromTo, In };

struct Stmt;
using Block = std::vector<std::unique_ptr<Stmt>>;

struct Stmt {
  StmtKind kind;
  int line = 0;
  std::string name;
  std::string name2;
  RepeatMode mode = RepeatMode::Forever;
  ExprPtr a;
  ExprPtr b;
  ExprPtr c;
  Block body;
  std::vector<ExprPtr> conditions;
  std::vector<Block> blocks;
  std::vector<std::string> names;
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
