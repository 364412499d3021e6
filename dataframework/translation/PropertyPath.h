// Property paths and the property access the translation needs, over the
// platform's component model.
//
// A property path names a string property reached from a component:
//   Name           plain       a string property of the object
//   Name[N]        list        line N (from 0) of a string-list property
//   Name.Rest      object      path Rest of the object held by property Name
//   Name[N].Rest   collection  path Rest of item N of the collection in Name
// Rules keep their paths with the indexes stripped ("Items[]",
// "Columns[].Title.Caption"); rows keep full paths.
//
// Actions: a component takes texts from an action when it publishes a
// class-typed property "Action" holding an action (a component whose class
// or an ancestor is named TBasicAction) that has a property of that name.
//
// All functions borrow their arguments and keep nothing.
#pragma once

#include <string>
#include <string_view>

namespace platform {
class TClass;
class TComponent;
class TObject;
}  // namespace platform

namespace dataframework {

// The deepest nesting of objects in a property path (the component is
// depth 0; each object or collection step adds 1).
inline constexpr int MaxPathDepth = 4;

// The class name whose descendants are actions.
inline constexpr const char* ActionClassName = "TBasicAction";

enum TPathKind : int { pkPlain = 0, pkList = 1, pkObject = 2, pkCollection = 3 };

struct TPathParts {
  TPathKind Kind = pkPlain;
  std::string Head;  // the property name of the first step
  std::string Tail;  // what follows the first step (may be empty)
};

// Splits the first step off Path (see the table above): without "[" and
// "." plain; a "[" before any "." gives list, or collection when the first
// "]" after it is followed by "." (tail after "]."); otherwise object.
TPathParts SplitPath(std::string_view Path);
// Removes what stands between each "[" and the following "]":
// "Columns[12].Title.Caption" becomes "Columns[].Title.Caption".
std::string StripIndexes(std::string_view Path);

// The object's class publishes a property Name (any kind).
bool HasProperty(const platform::TObject* Object, std::string_view Name);
// The string property Name, read from the object's action when the action
// supplies it. REQUIRES: the property exists and is a string property
// (platform::EPropertyError otherwise).
std::string GetPropertyText(const platform::TObject* Object, std::string_view Name);
// Writes the string property Name. REQUIRES: as GetPropertyText.
void SetPropertyText(platform::TObject* Object, std::string_view Name, const std::string& Text);
// The object held by the class-typed property Name when it is of Class (or
// a descendant), else null (also when there is no such property).
platform::TObject* GetObjectProperty(const platform::TObject* Object, std::string_view Name,
                                     const platform::TClass& Class);
// False when Name contains "." or "["; otherwise true when the object has a
// class-typed property "Action" holding an action that has a property Name;
// Action is that action (null when false).
bool IsActionProperty(const platform::TObject* Object, std::string_view Name,
                      platform::TComponent*& Action);
// The component is an action (its class or an ancestor is TBasicAction).
bool IsAction(const platform::TObject* Object);

// The sort key of a caption: lower case (ASCII and the accented Latin,
// Greek and Cyrillic letters of UTF-8 text) with every "&" removed.
std::string CaptionSortKey(std::string_view Text);

}  // namespace dataframework
