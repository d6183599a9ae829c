#ifndef QUELMORA_TESTS_DATATABLE_H
#define QUELMORA_TESTS_DATATABLE_H

#include <QtTest>

#include <tuple>
#include <utility>

// The columns of a data table, declared in one line and fetched in one, as a tuple
// that structured bindings name:
//   using Rows = DataTable<int, QString>;
//   Rows::declare();                             // in the _data() function
//   const auto [count, text] = Rows::fetch();    // in the test
// A type that does not match its column stops the test, as with QFETCH.
template <typename... T>
struct DataTable
{
  static_assert(sizeof...(T) <= 10, "at most ten columns");
  static void declare() { declare(std::index_sequence_for<T...>()); }
  static std::tuple<T...> fetch() { return fetch(std::index_sequence_for<T...>()); }

private:
  static const char* name(std::size_t i)
  {
    static const char* const names[] = {"c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9"};
    return names[i];
  }
  template <std::size_t... I>
  static void declare(std::index_sequence<I...>)
  {
    (QTest::addColumn<T>(name(I)), ...);
  }
  template <std::size_t... I>
  static std::tuple<T...> fetch(std::index_sequence<I...>)
  {
    return {*static_cast<T*>(QTest::qData(name(I), qMetaTypeId<T>()))...};
  }
};

#endif
