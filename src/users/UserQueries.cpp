#include "users/UserQueries.h"

#include "users/UserTable.h"

namespace pq {

namespace {

const char* parameterOf(UserSearch search) {
  switch (search) {
    case UserSearch::Login:
      return "Use";
    case UserSearch::Adding:
      return "Name1";
    case UserSearch::VerifyingChange:
      return "Name2";
    case UserSearch::WritingChange:
      return "Name3";
    case UserSearch::Deleting:
      return "Name4";
  }
  return "Use";
}

}  // namespace

void openUserListing(UserQuery& query) {
  query.close();
  query.clearText();
  query.addLine("SELECT * FROM 用户密码");
  query.open();
}

std::vector<std::string> listUserNames(UserQuery& query) {
  openUserListing(query);
  std::vector<std::string> names;
  for (query.first(); !query.eof(); query.next()) names.push_back(query.fieldText(users::kNameColumn));
  query.close();
  return names;
}

void searchUser(UserQuery& query, UserSearch search, const std::string& name) {
  const std::string parameter = parameterOf(search);
  query.close();
  query.clearText();
  query.addLine("SELECT * FROM 用户密码 WHERE ");
  query.addLine("用户姓名=:" + parameter);
  query.setParameter(parameter, name);
  query.open();
}

}  // namespace pq
