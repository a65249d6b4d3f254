// TPersistent objects and their published-property descriptors: the run-time type
// information that form files and the script object model read and write by name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kgui {

class TPersistent;
class ClassInfo;
struct EnumInfo;
struct IdentMap;

// The kinds of published properties, as the platform's type information has them.
enum class PropKind { Integer, Char, Enumeration, Float, String, Set, Class, Method };

// A property value in transit. Ordinal kinds (integer, char, enumeration, set bit mask)
// travel as int64_t, floats as double, strings as UTF-8, class properties as an object
// pointer; a method reads as 1 when a handler is assigned and is cleared by monostate.
using PropValue = std::variant<std::monostate, int64_t, double, std::string, TPersistent*>;

// Failures of the component model, with the platform's messages.
class EPropertyError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct PropertyInfo {
  std::string name;
  PropKind kind = PropKind::Integer;
  const EnumInfo* type = nullptr;       // enumeration, or the element type of a set
  const IdentMap* ident_map = nullptr;  // identifiers of an integer property (TColor)
  std::function<PropValue(const TPersistent&)> get;
  std::function<void(TPersistent&, const PropValue&)> set;  // empty: read-only
  std::optional<int64_t> default_ord;   // default of an ordinal property
  std::function<bool(const TPersistent&)> stored;  // empty: always stored
  // The class of a sub-object property (Font, Lines), so form readers resolve "Font.Name"
  // before any object exists; nil for references to components.
  const ClassInfo& (*class_type)() = nullptr;
  // The item class of a collection property (a status bar's panels).
  const ClassInfo& (*item_type)() = nullptr;

  bool readOnly() const { return !set; }
};

// One class's run-time information: its platform name, its ancestor and the properties it
// adds. The full ordered list runs from the root ancestor down.
class ClassInfo {
public:
  ClassInfo(std::string name, const ClassInfo* parent, std::vector<PropertyInfo> own = {});
  const std::string& name() const { return name_; }
  const ClassInfo* parent() const { return parent_; }
  const std::vector<PropertyInfo>& ownProperties() const { return own_; }
  std::vector<const PropertyInfo*> properties() const;
  const PropertyInfo* findProperty(std::string_view name) const;  // without case
  bool inheritsFrom(std::string_view class_name) const;           // itself included

private:
  std::string name_;
  const ClassInfo* parent_;
  std::vector<PropertyInfo> own_;
};

class TPersistent {
public:
  virtual ~TPersistent() = default;
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;

  static const ClassInfo& staticClassInfo();
  virtual const ClassInfo& classInfo() const { return staticClassInfo(); }
  const std::string& className() const { return classInfo().name(); }
  bool inheritsFrom(std::string_view class_name) const {
    return classInfo().inheritsFrom(class_name);
  }
  // Copies the state of another object; the base accepts nothing, as the platform's
  // "Cannot assign a X to a Y".
  virtual void assign(const TPersistent& source);
};

// A collection property's value (a status bar's Panels): items made by the collection,
// each with its own published properties.
class TCollection : public TPersistent {
public:
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  virtual int count() const = 0;
  virtual TPersistent* item(int index) const = 0;
  virtual TPersistent* addItem() = 0;
  virtual void clear() = 0;
  virtual const ClassInfo& itemClass() const = 0;
};

// Published-property access by name (case-insensitive); unknown names throw
// EPropertyError "Property X does not exist", writes of read-only ones "Property X is read-only".
PropValue getProperty(const TPersistent& obj, std::string_view name);
void setProperty(TPersistent& obj, std::string_view name, const PropValue& value);
bool hasProperty(const TPersistent& obj, std::string_view name);

// The property's value as form files write it: identifiers for enumerations and mapped
// integers, "[a, b]" for sets, quoted text for strings, 'c' or #n for chars.
std::string propertyText(const TPersistent& obj, const PropertyInfo& prop);
// Sets a property from form-file text (the inverse of propertyText; strings unquoted).
void setPropertyText(TPersistent& obj, const PropertyInfo& prop, std::string_view text);
// Whether a writer stores the property: the stored predicate holds and an ordinal
// differs from its default.
bool isStoredProperty(const TPersistent& obj, const PropertyInfo& prop);

// ASCII comparison without case, as names of components and properties are compared.
bool sameText(std::string_view a, std::string_view b);
int compareText(std::string_view a, std::string_view b);

}  // namespace kgui
