#include "session.h"
#include "windows_fixture.h"

#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace tavu {

namespace {

using Names = std::vector<std::string>;

std::string profilesXml(const Names& names) {
    std::string xml = "<?xml version=\"1.0\"?>\n<Profiles>\n";
    for (const std::string& name : names) {
        xml += "  <Profile>\n    <Name>" + name + "</Name>\n  </Profile>\n";
    }
    return xml + "</Profiles>\n";
}

std::string chosenName(const ProfileSession& session) {
    return session.profileNode().child("Name").text().text;
}

} // namespace

// The profiles file and the chosen profile as the main window keeps them.
class ProfileSessionTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_.emplace();
        session_ = ProfileSession{};
    }
    void cleanup() { folder_.reset(); }

    void statesFollowLoadAndChoice();
    void aFailedLoadKeepsEverythingAsItWas();
    void aFailedFirstLoadLeavesNothingLoaded();

private:
    std::filesystem::path path(const std::string& name) const {
        return std::filesystem::path(folder_->path().toStdString()) / name;
    }
    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

    std::optional<QTemporaryDir> folder_;
    ProfileSession session_;
};

void ProfileSessionTest::statesFollowLoadAndChoice() {
    QCOMPARE(session_.state(), ProfileState::NothingLoaded);
    QCOMPARE(session_.index(), -1);
    const auto file = write("profiles.xml", profilesXml({"Owner", "Operator", "Regular"}));
    QVERIFY(session_.load(file).empty());
    QCOMPARE(session_.state(), ProfileState::Loaded);
    session_.choose(1);
    QCOMPARE(session_.state(), ProfileState::Chosen);
    QCOMPARE(session_.index(), 1);
    QCOMPARE(chosenName(session_), std::string("Operator"));
    // Reloading asks for a new choice but keeps the index.
    QVERIFY(session_.load(file).empty());
    QCOMPARE(session_.state(), ProfileState::Loaded);
    QCOMPARE(session_.index(), 1);
}

void ProfileSessionTest::aFailedLoadKeepsEverythingAsItWas() {
    QVERIFY(session_.load(write("profiles.xml", profilesXml({"Owner", "Operator"}))).empty());
    session_.choose(1);
    for (const auto& bad :
         {write("broken.xml", "<Profiles><Profile>"),
          write("nameless.xml", "<Profiles><Profile><Name>X</Name></Profile><Profile/></Profiles>"),
          path("missing.xml"), path("")}) {
        QVERIFY2(!session_.load(bad).empty(), bad.string().c_str());
        QCOMPARE(session_.state(), ProfileState::Chosen);
        QCOMPARE(session_.index(), 1);
        QVERIFY(session_.names() == (Names{"Owner", "Operator"}));
        QCOMPARE(chosenName(session_), std::string("Operator"));
    }
}

void ProfileSessionTest::aFailedFirstLoadLeavesNothingLoaded() {
    QVERIFY(!session_.load(write("profiles.xml", "not xml")).empty());
    QCOMPARE(session_.state(), ProfileState::NothingLoaded);
    QVERIFY(session_.names().empty());
    QVERIFY(!session_.profileNode());
}

int runProfileSessionTest(int argc, char** argv) {
    ProfileSessionTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "session_test.moc"
