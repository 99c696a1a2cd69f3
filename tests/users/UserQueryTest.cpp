#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "support/UserDatabaseFixture.h"
#include "users/PasswordScrambling.h"
#include "users/UserDataModule.h"
#include "users/UserDatabaseError.h"
#include "users/UserDatabaseSetup.h"
#include "users/UserQueries.h"
#include "users/UserTable.h"

namespace pq {
namespace {

using test::UserDatabaseFixture;

class UserQueryTest : public ::testing::Test {
 protected:
  UserQueryTest() {
    users.addRow("admin", storedPassword("secret1"), "Administrator");
    users.addRow("张三", storedPassword("zhang3pw"), "User");
  }
  UserDatabaseFixture users;
};

TEST_F(UserQueryTest, ListsNamesInTableOrderAndClosesTheQuery) {
  TDM database(users.path());
  ASSERT_TRUE(database.connected());
  EXPECT_EQ(listUserNames(database.DQ_Pass), (std::vector<std::string>{"admin", "张三"}));
  EXPECT_FALSE(database.DQ_Pass.isOpen());
}

TEST_F(UserQueryTest, SearchBuildsTheStatementLineByLineAndBindsTheName) {
  TDM database(users.path());
  UserQuery& query = database.DQ_Pass;
  searchUser(query, UserSearch::Login, "张三");
  EXPECT_EQ(query.text(), "SELECT * FROM 用户密码 WHERE \n用户姓名=:Use\n");
  ASSERT_EQ(query.recordCount(), 1);
  EXPECT_EQ(query.fieldText(users::kPasswordColumn), storedPassword("zhang3pw"));
  EXPECT_EQ(query.fieldText(users::kRoleColumn), "User");
  searchUser(query, UserSearch::Deleting, "admin");
  EXPECT_EQ(query.text(), "SELECT * FROM 用户密码 WHERE \n用户姓名=:Name4\n");
  EXPECT_EQ(query.recordCount(), 1);
}

TEST_F(UserQueryTest, ANameIsNeverPartOfTheStatement) {
  TDM database(users.path());
  for (const char* name : {"x' OR '1'='1", "admin' --", "\" OR 1=1 --", "admin; DELETE FROM 用户密码"}) {
    searchUser(database.DQ_Pass, UserSearch::Login, name);
    EXPECT_EQ(database.DQ_Pass.recordCount(), 0) << name;
  }
  EXPECT_EQ(users.rows().size(), 2u);
}

TEST_F(UserQueryTest, DuplicateNamesYieldTwoRows) {
  users.addRow("admin", storedPassword("other12"), "User");
  TDM database(users.path());
  searchUser(database.DQ_Pass, UserSearch::Login, "admin");
  EXPECT_EQ(database.DQ_Pass.recordCount(), 2);
}

TEST_F(UserQueryTest, AppendEditAndDeleteReachTheTable) {
  TDM database(users.path());
  UserQuery& query = database.DQ_Pass;
  searchUser(query, UserSearch::Adding, "李四");
  ASSERT_EQ(query.recordCount(), 0);
  query.append();
  query.setField(users::kNameColumn, "李四");
  query.setField(users::kRoleColumn, "User");
  query.setField(users::kPasswordColumn, storedPassword("lisi1234"));
  query.post();

  searchUser(query, UserSearch::WritingChange, "张三");
  query.edit();
  query.setField(users::kPasswordColumn, storedPassword("newpass"));
  query.setField(users::kRoleColumn, "Administrator");
  query.post();

  searchUser(query, UserSearch::Deleting, "admin");
  query.deleteRow();
  EXPECT_EQ(query.recordCount(), 0);

  EXPECT_EQ(users.rows(), (std::vector<std::string>{"张三|" + storedPassword("newpass") + "|Administrator",
                                                    "李四|" + storedPassword("lisi1234") + "|User"}));
}

TEST_F(UserQueryTest, ChangesOfADuplicateTouchOneRowOnly) {
  users.addRow("admin", storedPassword("secret1"), "Administrator");
  TDM database(users.path());
  UserQuery& query = database.DQ_Pass;
  searchUser(query, UserSearch::Deleting, "admin");
  query.deleteRow();
  EXPECT_EQ(users.rows().size(), 2u);
}

TEST_F(UserQueryTest, CancelDropsThePendingChange) {
  TDM database(users.path());
  UserQuery& query = database.DQ_Pass;
  searchUser(query, UserSearch::WritingChange, "admin");
  query.edit();
  query.setField(users::kPasswordColumn, "changed");
  query.cancel();
  query.post();
  EXPECT_EQ(users.rows()[0], "admin|" + storedPassword("secret1") + "|Administrator");
}

TEST_F(UserQueryTest, ChineseAndBlankFolderNamesWork) {
  test::TempDir dir;
  const std::string folder = dir.file("用户 数据");
  std::filesystem::create_directory(folder);
  createUserDatabase(folder + "/Pass.mdb");
  TDM database(folder + "/Pass.mdb");
  EXPECT_TRUE(database.connected());
  EXPECT_EQ(database.databasePath(), folder + "/Pass.mdb");
}

TEST(UserDataModule, FailsToConnectWithoutFileOrTableAndNeverCreatesOne) {
  test::TempDir dir;
  const std::string missing = dir.file("Pass.mdb");
  {
    TDM database(missing);
    EXPECT_FALSE(database.connected());
    EXPECT_THROW(listUserNames(database.DQ_Pass), UserDatabaseError);
    EXPECT_THROW(searchUser(database.DQ_Pass, UserSearch::Login, "admin"), UserDatabaseError);
  }
  EXPECT_TRUE(dir.entries().empty());

  std::ofstream(dir.file("text.mdb")) << "not a database at all, just some text that is long enough";
  EXPECT_FALSE(TDM(dir.file("text.mdb")).connected());
}

TEST(UserDataModule, FailsToConnectToADatabaseWithoutTheUserTable) {
  test::TempDir dir;
  std::ofstream(dir.file("Pass.mdb"));  // an empty file is an empty database: no user table
  EXPECT_FALSE(TDM(dir.file("Pass.mdb")).connected());
}

TEST(UserDatabaseSetup, InitKeepsExistingRows) {
  UserDatabaseFixture users;
  users.addRow("admin", "x", "Administrator");
  createUserDatabase(users.path());
  EXPECT_EQ(users.rows().size(), 1u);
}

}  // namespace
}  // namespace pq
