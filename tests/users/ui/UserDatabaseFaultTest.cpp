// A Pass.mdb that is damaged, foreign, read-only or locked, and hostile text in every name and
// password field: the program must say what is wrong, must not crash, and must let nobody in without
// a valid name and password.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "support/TempDir.h"
#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "users/PasswordScrambling.h"
#include "users/UserDataModule.h"
#include "users/ui/AddUserWindow.h"
#include "users/ui/ChangePasswordWindow.h"
#include "users/ui/DeleteUserWindow.h"
#include "users/ui/LoginWindow.h"

namespace pq {
namespace {

using test::child;

void execute(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int status = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  const std::string message = error != nullptr ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(status, SQLITE_OK) << message;
}

// A user database as the program expects it, with one administrator "admin" / "admin123".
void validDatabase(const std::string& path) {
  const std::string stored = storedPassword("admin123");
  execute(path, "CREATE TABLE 用户密码 (用户姓名 TEXT, 用户密码 TEXT, 用户权限 TEXT)");
  execute(path, ("INSERT INTO 用户密码 VALUES ('admin', '" + stored + "', 'Administrator')").c_str());
}

// Another process holding a transaction on the database, with a row written and not committed, until
// the object goes. Python's sqlite3 plays that program; forking this multi-threaded process and
// using SQLite in the child could hang on a lock some other thread held.
class LockingProcess {
 public:
  LockingProcess(const std::string& path, const char* begin) {
    int toChild[2];
    int fromChild[2];
    // Close-on-exec, so that the child's input ends when this side closes it, not when every other
    // process that inherited it does.
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    static const char kScript[] =
        "import sqlite3, sys\n"
        "db = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
        "db.execute(sys.argv[2])\n"
        "db.execute(\"INSERT INTO 用户密码 VALUES ('ghost', 'x', 'User')\")\n"
        "print('y', flush=True)\n"
        "sys.stdin.read()\n";
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(toChild[0], 0);
      ::dup2(fromChild[1], 1);
      ::execlp("python3", "python3", "-c", kScript, path.c_str(), begin, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    release_ = toChild[1];
    answers_ = fromChild[0];  // kept open: the child's last flush must not meet a closed pipe
    char answer = 'n';
    const bool locked = ::read(answers_, &answer, 1) == 1 && answer == 'y';
    if (!locked) {
      stop();
      throw std::runtime_error("the locking process did not start");
    }
  }
  ~LockingProcess() { stop(); }
  LockingProcess(const LockingProcess&) = delete;
  LockingProcess& operator=(const LockingProcess&) = delete;

 private:
  // Closing its input ends it; its transaction is never committed.
  void stop() {
    if (release_ >= 0) ::close(release_);
    release_ = -1;
    if (answers_ >= 0) ::close(answers_);
    answers_ = -1;
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  pid_t pid_ = -1;
  int release_ = -1;
  int answers_ = -1;
};

// Sets or clears the immutable flag, which keeps even root from writing; false where the file
// system has no such flag.
bool setImmutable(const std::string& path, bool on) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

struct LoginOutcome {
  bool connected = false;
  bool accepted = false;
  bool endsProgram = false;
  QStringList log;
};

// Starts as the program does (connection, then the login window) and tries `name` / `password`.
LoginOutcome tryLogin(const std::string& path, const QString& name, const QString& password) {
  TDM database(path);
  ui::ScriptedPrompter prompter;
  TForm5 window(database, prompter, [](bool) {});
  window.show();
  child<QComboBox>(window, "ComboBox1").setCurrentText(name);
  child<QLineEdit>(window, "Edit1").setText(password);
  QTest::mouseClick(&child<QPushButton>(window, "Btn_Ok"), Qt::LeftButton);
  return {database.connected(), window.result() == QDialog::Accepted && !window.isVisible(),
          window.endsProgram(), prompter.log};
}

TEST(UserDatabaseFaultTest, ADamagedOrForeignFileLetsNobodyIn) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    bool connects;
    const char* firstBox;  // the first box the login window shows
  };
  const Case cases[] = {
      {"missing", [](const std::string&) {}, false, "error: 用户数据库未打开。"},
      {"not a database",
       [](const std::string& p) { test::writeBytes(p, std::vector<std::uint8_t>(4096, 'J')); }, false,
       "error: 用户数据库未打开。"},
      {"empty file", [](const std::string& p) { test::writeBytes(p, {}); }, false,
       "error: 用户数据库未打开。"},
      {"cut inside its first page",
       [](const std::string& p) {
         validDatabase(p);
         std::filesystem::resize_file(p, 700);
       },
       false, "error: 用户数据库未打开。"},
      {"cut after its first page",
       [](const std::string& p) {
         validDatabase(p);
         std::filesystem::resize_file(p, 4096);
       },
       false, "error: 用户数据库未打开。"},
      {"a folder of that name", [](const std::string& p) { std::filesystem::create_directory(p); }, false,
       "error: 用户数据库未打开。"},
      {"no user table", [](const std::string& p) { execute(p, "CREATE TABLE other (a TEXT)"); }, false,
       "error: 用户数据库未打开。"},
      {"no role column",
       [](const std::string& p) {
         execute(p, "CREATE TABLE 用户密码 (用户姓名 TEXT, 用户密码 TEXT)");
         execute(p, ("INSERT INTO 用户密码 VALUES ('admin', '" + storedPassword("admin123") + "')").c_str());
       },
       true, "error: 字段 用户权限 不存在。"},
      {"no password column",
       [](const std::string& p) {
         execute(p, "CREATE TABLE 用户密码 (用户姓名 TEXT, 用户权限 TEXT)");
         execute(p, "INSERT INTO 用户密码 VALUES ('admin', 'Administrator')");
       },
       true, "error: 字段 用户密码 不存在。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::string path = dir.file("Pass.mdb");
    c.make(path);
    const LoginOutcome outcome = tryLogin(path, "admin", "admin123");
    EXPECT_EQ(outcome.connected, c.connects);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_FALSE(outcome.endsProgram) << "only a wrong password or the exit button end the program";
    ASSERT_FALSE(outcome.log.isEmpty());
    EXPECT_EQ(outcome.log.back(), c.firstBox);
  }
}

TEST(UserDatabaseFaultTest, AnEmptyOrMissingStoredPasswordMatchesNothing) {
  for (const char* stored : {"''", "NULL"}) {
    SCOPED_TRACE(stored);
    test::TempDir dir;
    const std::string path = dir.file("Pass.mdb");
    validDatabase(path);
    execute(path,
            (std::string("INSERT INTO 用户密码 VALUES ('blank', ") + stored + ", 'Administrator')").c_str());
    const LoginOutcome outcome = tryLogin(path, "blank", "");
    EXPECT_FALSE(outcome.accepted);
    EXPECT_TRUE(outcome.endsProgram);
    EXPECT_EQ(outcome.log, QStringList{"message: 密码不正确，您不允许登录该系统"});
  }
}

TEST(UserDatabaseFaultTest, ReadOnlyOrLockedDatabase) {
  test::TempDir dir;
  const std::string path = dir.file("Pass.mdb");
  validDatabase(path);

  {
    // Another program in the middle of writing: the rows can be read, so a valid login works and
    // a wrong one is refused, but the uncommitted row is seen by nobody.
    LockingProcess writer(path, "BEGIN IMMEDIATE");
    EXPECT_TRUE(tryLogin(path, "admin", "admin123").accepted);
    EXPECT_EQ(tryLogin(path, "ghost", "x").log, QStringList{"message: 用户不存在，请您重新输入"});
    // Adding a user must wait for the lock, then give up with the engine's message.
    TDM database(path);
    ui::ScriptedPrompter prompter;
    TForm6 add(database, prompter);
    add.show();
    child<QLineEdit>(add, "Edit1").setText("newbie");
    child<QLineEdit>(add, "Edit2").setText("abcdef");
    child<QLineEdit>(add, "Edit3").setText("abcdef");
    QTest::mouseClick(&child<QPushButton>(add, "Button1"), Qt::LeftButton);
    EXPECT_EQ(prompter.log, QStringList{"error: database is locked"});
  }
  {
    // A writer that holds the whole file: nothing can be read, nobody comes in.
    LockingProcess writer(path, "BEGIN EXCLUSIVE");
    const LoginOutcome outcome = tryLogin(path, "admin", "admin123");
    EXPECT_FALSE(outcome.connected);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.log.back(), "error: 用户数据库未打开。");
  }
  EXPECT_TRUE(tryLogin(path, "admin", "admin123").accepted) << "the killed writer left the file whole";

  if (!setImmutable(path, true)) GTEST_SKIP() << "no immutable flag on this file system";
  {
    TDM database(path);
    EXPECT_TRUE(database.connected());
    ui::ScriptedPrompter prompter;
    TForm6 add(database, prompter);
    add.show();
    child<QLineEdit>(add, "Edit1").setText("newbie");
    child<QLineEdit>(add, "Edit2").setText("abcdef");
    child<QLineEdit>(add, "Edit3").setText("abcdef");
    QTest::mouseClick(&child<QPushButton>(add, "Button1"), Qt::LeftButton);
    EXPECT_EQ(prompter.log, QStringList{"error: attempt to write a readonly database"});
  }
  const LoginOutcome readOnly = tryLogin(path, "admin", "admin123");
  setImmutable(path, false);
  EXPECT_TRUE(readOnly.accepted) << "reading needs no write access";
  EXPECT_EQ(test::UserDatabaseFixture::rowsOf(path),
            std::vector<std::string>{"admin|" + storedPassword("admin123") + "|Administrator"});
}

void fillAndConfirm(QDialog& window, std::initializer_list<std::pair<const char*, QString>> fields) {
  for (const auto& [name, text] : fields) child<QLineEdit>(window, name).setText(text);
  QTest::mouseClick(&child<QPushButton>(window, "Button1"), Qt::LeftButton);
}

// SQL and other hostile text as user name and as password, through the login window and the
// three user windows: it must work exactly as an ordinary name would, touching its own row only.
TEST(UserDatabaseFaultTest, HostileTextIsJustAName) {
  const QString texts[] = {
      "x' OR '1'='1",
      "admin'--",
      "admin\"; DROP TABLE 用户密码; --",
      "'; DELETE FROM 用户密码 WHERE '1'='1",
      "%",
      "_____",
      "ad%",
      "a_min",
      QString::fromUtf8("ad\0min", 6),
      QString(10000, QChar(0x540D)),                                           // 名 × 10 000
      QString::fromUtf8("\xF0\x9F\x98\x80 ") + QChar(0xD800) + QChar(0x20AC),  // no GBK for the first two
  };
  for (const QString& text : texts) {
    SCOPED_TRACE(text.left(40).toStdString());
    test::TempDir dir;
    const std::string path = dir.file("Pass.mdb");
    validDatabase(path);
    const std::vector<std::string> before = test::UserDatabaseFixture::rowsOf(path);
    const QString password = text + "123456";

    // Before it is added, the text names nobody and opens no account.
    EXPECT_EQ(tryLogin(path, text, "admin123").log, QStringList{"message: 用户不存在，请您重新输入"});
    EXPECT_FALSE(tryLogin(path, "admin", text).accepted);

    TDM database(path);
    ui::ScriptedPrompter prompter;
    {
      TForm6 add(database, prompter);
      add.show();
      fillAndConfirm(add, {{"Edit1", text}, {"Edit2", password}, {"Edit3", password}});
    }
    std::vector<std::string> expected = before;
    expected.push_back(text.toStdString() + "|" + storedPassword(password.toStdString()) + "|User");
    EXPECT_EQ(test::UserDatabaseFixture::rowsOf(path), expected);

    const LoginOutcome wrong = tryLogin(path, text, "admin123");
    EXPECT_FALSE(wrong.accepted);
    EXPECT_TRUE(wrong.endsProgram);
    EXPECT_TRUE(tryLogin(path, text, password).accepted);
    EXPECT_TRUE(tryLogin(path, "admin", "admin123").accepted);

    const QString changed = "n" + password;
    {
      TForm7 change(database, prompter);
      change.show();
      fillAndConfirm(change, {{"Edit1", text}, {"Edit2", password}});
      fillAndConfirm(change, {{"Edit3", changed}, {"Edit4", changed}});
    }
    expected.back() = text.toStdString() + "|" + storedPassword(changed.toStdString()) + "|User";
    EXPECT_EQ(test::UserDatabaseFixture::rowsOf(path), expected);

    {
      TForm8 remove(database, prompter);
      remove.show();
      prompter.answerYesNo(true);
      fillAndConfirm(remove, {{"Edit1", text}, {"Edit2", changed}});
    }
    EXPECT_EQ(test::UserDatabaseFixture::rowsOf(path), before);
    EXPECT_EQ(prompter.log,
              (QStringList{"message: 密码设定成功！", "message: 密码修改成功！",
                           "question: 警告！: 确认删除该用户吗？", "message: 用户已成功删除。"}));
  }
}

}  // namespace
}  // namespace pq
