// String lists: the abstract TStrings, the owned TStringList (sorted, duplicates, case),
// and TCallbackStrings, through which controls expose their items as TStrings.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/text_compare.h"
#include "platform/classes/persistent.h"

namespace kgui {

class TStrings : public TPersistent {
public:
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  virtual int count() const = 0;
  virtual std::string get(int index) const = 0;
  virtual void put(int index, const std::string& s);  // default: delete and insert
  virtual void insert(int index, const std::string& s) = 0;
  virtual void remove(int index) = 0;  // the platform's Delete
  virtual void clear() = 0;
  virtual int add(const std::string& s);
  virtual int indexOf(const std::string& s) const;  // without case, as the platform's

  std::string operator[](int index) const { return get(index); }
  void addStrings(const TStrings& other);
  void assign(const TPersistent& source) override;
  std::vector<std::string> toVector() const;

  // Lines joined with CR LF, each line ended by it; setText splits at CR LF, LF or CR.
  std::string text() const;
  void setText(const std::string& text);
  // Items separated by commas; items with blanks, commas or quotes in double quotes.
  std::string commaText() const;
  void setCommaText(const std::string& text);

  void beginUpdate();
  void endUpdate();
  int updateCount() const { return update_count_; }

protected:
  virtual void setUpdateState(bool /*updating*/) {}
  // Replaces every line (inside an update); a list that stores lines itself takes them whole.
  virtual void setLines(std::vector<std::string>&& lines);
  // Throws the platform's "List index out of bounds (n)".
  void checkIndex(int index, int limit) const;

private:
  int update_count_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int count() const override { return static_cast<int>(items_.size()); }
  std::string get(int index) const override;
  void put(int index, const std::string& s) override;
  void insert(int index, const std::string& s) override;
  void remove(int index) override;
  void clear() override;
  int add(const std::string& s) override;
  int indexOf(const std::string& s) const override;

  // Binary search of a sorted list: true when found; index is the match or the insertion point.
  bool find(const std::string& s, int& index) const;
  void sort();

  bool sorted() const { return sorted_; }
  void setSorted(bool sorted);
  TDuplicates duplicates() const { return duplicates_; }
  void setDuplicates(TDuplicates d) { duplicates_ = d; }
  bool caseSensitive() const { return case_sensitive_; }
  void setCaseSensitive(bool cs);
  // The comparisons behind sorting, find and indexOf, without and with case (the
  // defaults fold every ASCII byte and compare bytes). A sorted list is sorted again.
  void setCompare(kestrin::TextCompare without_case, kestrin::TextCompare with_case);

  // Called after every change (once at the end of an update block), and before it.
  std::function<void(TStringList*)> OnChange;
  std::function<void(TStringList*)> OnChanging;

protected:
  void setUpdateState(bool updating) override;
  void setLines(std::vector<std::string>&& lines) override;

private:
  int compare(const std::string& a, const std::string& b) const;
  void changing();
  void changed();

  std::vector<std::string> items_;
  kestrin::TextCompare without_case_ = compareText;
  kestrin::TextCompare with_case_ = nullptr;  // nil: byte order
  bool sorted_ = false;
  bool case_sensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

// A TStrings whose storage lives elsewhere (a list box's items, a memo's lines).
class TCallbackStrings : public TStrings {
public:
  struct Ops {
    std::function<int()> count;
    std::function<std::string(int)> get;
    std::function<void(int, const std::string&)> put;
    std::function<void(int, const std::string&)> insert;
    std::function<void(int)> remove;
    std::function<void()> clear;
  };
  TCallbackStrings(std::string class_name, Ops ops);
  const ClassInfo& classInfo() const override { return info_; }

  int count() const override { return ops_.count(); }
  std::string get(int index) const override;
  void put(int index, const std::string& s) override;
  void insert(int index, const std::string& s) override;
  void remove(int index) override;
  void clear() override { ops_.clear(); }

private:
  ClassInfo info_;
  Ops ops_;
};

}  // namespace kgui
