// User settings file and password file: what a save writes, how a load reads
// each kind of line, the options pages, and passwords that survive any byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "core/settings.h"
#include "core/text.h"
#include "frontend/screens/menu.h"
#include "frontend/widgets/widgets.h"
#include "platform/audio.h"
#include "support/temp_dir.h"

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        settings_defaults();
        set_availgfxmodes.clear();
        for (auto& t : gui_in_txt) t.clear();
        for (int& v : gui_in_sel) v = 0;
        for (int& v : gui_in_check) v = 0;
    }
    void TearDown() override { settings_defaults(); }

    static void load_file(const std::string& text, int apply = 1) {
        ASSERT_TRUE(TempDir::write(kSettingsFile, text));
        settings_load(apply);
    }

    TempDir dir{"sys"};
};

TEST_F(Settings, FreshStartSavesTheEighteenLinesInOrder) {
    settings_save(-1);
    EXPECT_EQ(TempDir::read(kSettingsFile),
              "resolution 640x480\r\n"
              "depth 0\r\n"
              "particles 2\r\n"
              "backgroundfx 3\r\n"
              "textshadows 1\r\n"
              "musicvolume 1\r\n"
              "sfxvolume 3\r\n"
              "audiodriver " + AudioDrivers().front() + "\r\n"
              "name Grombat\r\n"
              "gore 3\r\n"
              "bloodcolor 0\r\n"
              "qvgnuser \r\n"
              "upload 15\r\n"
              "recordreplay 1\r\n"
              "hostname Grombat Fraycup\r\n"
              "hostport 36963\r\n"
              "hostpw \r\n"
              "hostmultiteams 0\r\n");
    // The platform's default driver, a real name.
    EXPECT_EQ(set_sfx_driver, "OpenAL");
}

TEST_F(Settings, MissingFileKeepsTheDefaults) {
    settings_load(1);
    EXPECT_EQ(set_scrx, 640);
    EXPECT_EQ(set_tmp_scrx, 0);
    EXPECT_EQ(set_name, "Grombat");
    EXPECT_EQ(set_host_port, 36963);
    EXPECT_EQ(set_qvgnp, "");
}

TEST_F(Settings, ResolutionLines) {
    struct Case {
        const char* line;
        int tmp_w, tmp_h, w, h;
    };
    for (auto c : {Case{"RESOLUTION 800x600x32", 800, 600, 800, 600},
                   Case{"resolution 1024x768", 1024, 768, 1024, 768},
                   Case{"Resolution 640x480", 640, 480, 640, 480},
                   Case{"resolution 600x400", 0, 0, 640, 480},
                   Case{"resolution 800x479", 0, 0, 640, 480},
                   Case{"resolution 800", 0, 0, 640, 480},
                   Case{"resolution abcxdef", 0, 0, 640, 480},
                   Case{"resolution", 0, 0, 640, 480},
                   Case{"resolution 16384x16384", 16384, 16384, 16384, 16384},
                   Case{"resolution 16385x600", 0, 0, 640, 480},
                   Case{"resolution 2147483600x480", 0, 0, 640, 480}}) {
        settings_defaults();
        load_file(std::string(c.line) + "\r\n");
        EXPECT_EQ(set_tmp_scrx, c.tmp_w) << c.line;
        EXPECT_EQ(set_tmp_scry, c.tmp_h) << c.line;
        EXPECT_EQ(set_scrx, c.w) << c.line;
        EXPECT_EQ(set_scry, c.h) << c.line;
        EXPECT_EQ(set_scrxh, c.w / 2) << c.line;
        EXPECT_EQ(set_scryh, c.h / 2) << c.line;
    }
}

TEST_F(Settings, AReloadTakesTheModeButDoesNotApplyIt) {
    load_file("resolution 1024x768\r\ndepth 32\r\n", 0);
    EXPECT_EQ(set_tmp_scrx, 1024);
    EXPECT_EQ(set_tmp_depth, 32);
    EXPECT_EQ(set_scrx, 640);
    EXPECT_EQ(set_depth, 0);
    load_file("depth 32\r\n", 1);
    EXPECT_EQ(set_depth, 32);
}

TEST_F(Settings, NumberLinesFollowTheTextToIntegerRule) {
    struct Case {
        const char* line;
        int gore;
    };
    for (auto c : {Case{"gore 5 7", 5}, Case{"gore abc", 0}, Case{"gore -3", -3}, Case{"gore 12abc", 12},
                   Case{"gore +4", 4}, Case{"GORE 9", 9},
                   Case{"gore  5", 0},  // two spaces: the second piece is empty
                   Case{"gore 99999999999", 2147483647}}) {
        set_gore = 3;
        load_file(std::string(c.line) + "\r\n");
        EXPECT_EQ(set_gore, c.gore) << c.line;
    }
}

TEST_F(Settings, ParticlesStayWithinTheLevelsThatMeanSomething) {
    // Below 0 acts as 0 and every level above 2 as 3 wherever the level is
    // read; the count of leaves a knocked-off sprite makes follows it.
    struct Case {
        const char* line;
        int particles;
    };
    for (auto c : {Case{"particles 2", 2}, Case{"particles 0", 0}, Case{"particles 3", 3}, Case{"particles -3", 0},
                   Case{"particles 100000000", 3}, Case{"particles 2147483647", 3}}) {
        set_particles = 1;
        load_file(std::string(c.line) + "\r\n");
        EXPECT_EQ(set_particles, c.particles) << c.line;
    }
}

TEST_F(Settings, TextLinesKeepEverythingAfterTheFirstSpace) {
    set_host_pw = "secret";
    load_file("hostname My  Server \r\nname  Bob\r\nhostpw \r\nqvgnuser a b\r\n");
    EXPECT_EQ(set_host_name, "My  Server ");
    EXPECT_EQ(set_name, "Bob");  // trimname drops the leading blank
    EXPECT_EQ(set_host_pw, "");
    EXPECT_EQ(set_qvgnu, "a b");
}

TEST_F(Settings, LinesThatChangeNothing) {
    set_host_pw = "secret";
    load_file("hostpw\r\nnosuchkey 5\r\n\r\ngarbage\r\n\x01\x02\xff\r\ngore 1\r\ngore 2\n");
    EXPECT_EQ(set_host_pw, "secret");  // the key alone, without a space, is skipped
    EXPECT_EQ(set_gore, 2);            // the last of repeated keys wins
}

TEST_F(Settings, DamagedFilesNeverCrash) {
    std::string junk;
    for (int i = 0; i < 3000; i++) junk += char((i * 37 + 11) & 0xFF);
    load_file(junk);
    load_file("resolution x\r\nresolution 99999999999x99999999999\r\nname \r\n");
    EXPECT_EQ(set_name, "Mr. Grombat");
    SUCCEED();
}

TEST_F(Settings, VideoPageTakesOnlyAWellFormedMode) {
    set_availgfxmodes = {"800x600", "1280x1024x32", "640x400", "1600x1200"};
    struct Case {
        int sel;
        const char* resolution;
    };
    for (auto c : {Case{0, "resolution 800x600"}, Case{3, "resolution 1600x1200"},
                   Case{1, "resolution 1024x768"}, Case{2, "resolution 1024x768"},
                   Case{-1, "resolution 1024x768"}, Case{4, "resolution 1024x768"},
                   Case{1000, "resolution 1024x768"}}) {
        gui_in_sel[0] = c.sel;
        settings_save(0);
        std::string file = TempDir::read(kSettingsFile);
        EXPECT_EQ(file.substr(0, file.find("\r\n")), c.resolution) << c.sel;
    }
    gui_in_sel[0] = 0;
    gui_in_check[0] = 1;
    gui_in_sel[1] = 4;
    gui_in_sel[2] = 1;
    gui_in_check[1] = 0;
    settings_save(0);
    EXPECT_NE(TempDir::read(kSettingsFile).find("depth 32\r\nparticles 4\r\nbackgroundfx 1\r\ntextshadows 0\r\n"),
              std::string::npos);
    EXPECT_EQ(set_tmp_depth, 32);
    EXPECT_EQ(set_depth, 0);  // the video page applies a new mode itself
    EXPECT_EQ(set_scrx, 640);
}

TEST_F(Settings, PlayerPageKeepsTheNameAsTypedAndRunsItCleaned) {
    const std::string typed = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklm";  // 40 characters
    gui_in_txt[0] = typed;
    gui_in_txt[1] = "user";
    gui_in_txt[2] = "pw";
    gui_in_txt[3] = "30kb";
    gui_in_sel[0] = 1;
    gui_in_sel[1] = 2;
    gui_in_check[0] = 0;
    settings_save(2);
    std::string file = TempDir::read(kSettingsFile);
    EXPECT_NE(file.find("\r\nname " + typed + "\r\ngore 1\r\nbloodcolor 2\r\nqvgnuser user\r\nupload 30\r\n"
                        "recordreplay 0\r\n"),
              std::string::npos);
    EXPECT_EQ(set_name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abc");
    EXPECT_EQ(set_qvgnp, "pw");
}

TEST_F(Settings, HostPageAndPagesThatCopyNothing) {
    gui_in_txt[0] = "Arena";
    gui_in_txt[1] = "40000";
    gui_in_txt[2] = "pass";
    gui_in_check[0] = 1;
    settings_save(3);
    EXPECT_EQ(set_host_name, "Grombat Fraycup");
    settings_save(4);
    EXPECT_EQ(set_host_name, "Arena");
    EXPECT_EQ(set_host_port, 40000);
    EXPECT_EQ(set_host_pw, "pass");
    EXPECT_EQ(set_host_multiteams, 1);
    EXPECT_NE(TempDir::read(kSettingsFile).find("hostname Arena\r\nhostport 40000\r\nhostpw pass\r\nhostmultiteams 1\r\n"),
              std::string::npos);
}

TEST_F(Settings, AudioPageStoresTheShownDriverName) {
    aud = {"Default Driver", "Another"};
    gui_in_sel[0] = 2;
    gui_in_sel[1] = 1;
    gui_in_sel[2] = 0;
    settings_save(1);
    EXPECT_NE(TempDir::read(kSettingsFile).find("musicvolume 2\r\nsfxvolume 1\r\naudiodriver Default Driver\r\n"),
              std::string::npos);
    EXPECT_EQ(set_sfx_driver, "Default Driver");
    EXPECT_EQ(audset, "Default Driver");
    EXPECT_EQ(CurrentAudioDriver(), "Null");
    gui_in_sel[2] = 5;  // outside the list: the driver stays
    settings_save(1);
    EXPECT_EQ(set_sfx_driver, "Default Driver");
}

TEST_F(Settings, NoSysFolderMeansNothingWrittenAndNoHarm) {
    TempDir bare;
    settings_save(-1);
    EXPECT_EQ(TempDir::read(kSettingsFile), "");
    EXPECT_EQ(TempDir::read(kPasswordFile), "");
    EXPECT_EQ(set_name, "Grombat");
}

TEST_F(Settings, PasswordRoundTripsAndIsScrambledOnDisk) {
    gui_in_txt[1] = "someone";
    gui_in_txt[2] = "hunter2";
    settings_save(2);
    std::string file = TempDir::read(kPasswordFile);
    ASSERT_EQ(file.size(), 7u + 2u);
    EXPECT_EQ(file.substr(7), "\r\n");
    EXPECT_EQ(file.find("hunter2"), std::string::npos);
    set_qvgnp = "";
    settings_load(0);
    EXPECT_EQ(set_qvgnp, "hunter2");
}

// Every character 1..254 at every key position: among them are the ones the
// scrambler turns into line feed and carriage return.
TEST_F(Settings, PasswordSurvivesBytesThatScrambleToLineBreaks) {
    std::string password;
    for (int position = 0; position < 19; position++)
        for (int c = 1; c <= 254; c++) password += char(c);
    gui_in_txt[2] = password;
    settings_save(2);
    std::string file = TempDir::read(kPasswordFile);
    ASSERT_EQ(file.size(), password.size() + 2);
    std::string scrambled = file.substr(0, password.size());
    EXPECT_NE(scrambled.find('\n'), std::string::npos);
    EXPECT_NE(scrambled.find('\r'), std::string::npos);
    set_qvgnp = "";
    settings_load(0);
    EXPECT_EQ(set_qvgnp, password);
}

TEST_F(Settings, PasswordFileIsPrivateAndReadToItsFirstLine) {
    gui_in_txt[2] = "hunter2";
    settings_save(2);
    struct stat st;
    ASSERT_EQ(stat(kPasswordFile, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const std::string line = TempDir::read(kPasswordFile);
    ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
    const std::string scrambled = line.substr(0, line.size() - 2);
    // Another line after the first, an LF ending, no ending: the same password.
    for (const std::string& file : {scrambled + "\r\nsecond line\r\n", scrambled + "\n", scrambled,
                                    scrambled + "\nsecond\n"}) {
        ASSERT_TRUE(TempDir::write(kPasswordFile, file));
        set_qvgnp = "";
        settings_load(0);
        EXPECT_EQ(set_qvgnp, "hunter2");
    }
}

TEST_F(Settings, PasswordFileMissingOrDamaged) {
    ASSERT_TRUE(TempDir::write(kSettingsFile, "gore 1\r\n"));
    set_qvgnp = "old";
    settings_load(0);
    EXPECT_EQ(set_qvgnp, "");
    ASSERT_TRUE(TempDir::write(kPasswordFile, ""));
    settings_load(0);
    EXPECT_EQ(set_qvgnp, "");
    ASSERT_TRUE(TempDir::write(kPasswordFile, "\r"));  // no final CR LF: taken as it is
    settings_load(0);
    EXPECT_EQ(set_qvgnp.size(), 1u);
}

TEST(SettingsText, ToIntAndSplit) {
    EXPECT_EQ(text_toint_saturating("  \t42x"), 42);
    EXPECT_EQ(text_toint_saturating("-"), 0);
    EXPECT_EQ(text_toint_saturating(""), 0);
    EXPECT_EQ(text_toint_saturating("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(text_toint_saturating("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(text_toint_saturating("- 5"), 0);
    EXPECT_EQ(text_split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(text_split("", ","), (std::vector<std::string>{""}));
    EXPECT_EQ(text_split("x,", ","), (std::vector<std::string>{"x", ""}));
}

}  // namespace
