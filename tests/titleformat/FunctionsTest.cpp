#include <gtest/gtest.h>

#include "TestTrack.h"

namespace titleformat::test {
namespace {

class Functions : public testing::Test {
protected:
    std::string eval(std::string_view pattern) { return run(pattern, track); }
    TrackInfo track = sampleTrack();
};

TEST_F(Functions, ConditionalsPickABranchByTruth) {
    EXPECT_EQ(eval("$if(%artist%,yes,no)"), "yes");
    EXPECT_EQ(eval("$if(%comment%,yes,no)"), "no");
    EXPECT_EQ(eval("$if(%comment%,yes)"), "");
    // Literal text is no truth.
    EXPECT_EQ(eval("$if(text,yes,no)"), "no");
    EXPECT_EQ(eval("$if2(%comment%,%title%)"), "Easy Way Out");
    EXPECT_EQ(eval("$if2(%album%,?)"), "0");
    EXPECT_EQ(eval("$if2(%comment%,?)"), "?");
    EXPECT_EQ(eval("$if3(%comment%,%composer%,%genre%,none)"), "Ambient");
    EXPECT_EQ(eval("$if3(%comment%,%composer%,none)"), "none");
    EXPECT_EQ(eval("$ifequal(%tracknumber%,3,three,other)"), "three");
    EXPECT_EQ(eval("$ifgreater(%bitrate%,320,hi,lo)"), "hi");
    EXPECT_EQ(eval("$ifgreater(320,320,hi,lo)"), "lo");
    EXPECT_EQ(eval("$iflonger(%title%,11,long,short)"), "long");
    EXPECT_EQ(eval("$iflonger(%title%,12,long,short)"), "short");
    EXPECT_EQ(eval("$select(2,a,b,c)|$select(4,a,b,c)|$select(0,a)"), "b||");
}

TEST_F(Functions, OnlyTheChosenBranchDecidesTheSection) {
    EXPECT_EQ(eval("[$if2(%comment%,%genre%)]"), "Ambient");
    EXPECT_EQ(eval("[$if2(%genre%,%comment%)]"), "Ambient");
    EXPECT_EQ(eval("[$if2(%comment%,%composer%)]"), "");
    EXPECT_EQ(eval("[$ifequal(1,1,%comment%,%genre%)]"), "");
}

TEST_F(Functions, BooleansYieldTruthButNoText) {
    EXPECT_EQ(eval("<$and(%artist%,%title%)>"), "<>");
    EXPECT_EQ(eval("$if($and(%artist%,%title%),y,n)$if($and(%artist%,%comment%),y,n)"), "yn");
    EXPECT_EQ(eval("$if($or(%comment%,%title%),y,n)$if($or(%comment%,%composer%),y,n)"), "yn");
    EXPECT_EQ(eval("$if($not(%comment%),y,n)$if($not(%title%),y,n)"), "yn");
    EXPECT_EQ(eval("$if($xor(%artist%,%comment%),y,n)$if($xor(%artist%,%title%),y,n)"), "yn");
    EXPECT_EQ(eval("$if($strcmp(%artist%,Low Roar),y,n)$if($strcmp(%artist%,low roar),y,n)"), "yn");
    EXPECT_EQ(
        eval("$if($stricmp(%artist%,LOW ROAR),y,n)$if($stricmp(\xC3\x89t\xC3\xA9,\xC3\xA9T\xC3\x89),y,n)"),
        "yy");
    EXPECT_EQ(eval("$if($greater(10,9),y,n)$if($greater(9,10),y,n)"), "yn");
    EXPECT_EQ(eval("$if($longer(abc,ab),y,n)$if($longer(ab,abc),y,n)"), "yn");
}

TEST_F(Functions, StringFunctionsCountCharactersNotBytes) {
    const std::string cafe = "caf\xC3\xA9";  // café
    EXPECT_EQ(eval("$len(" + cafe + ")"), "4");
    EXPECT_EQ(eval("$left(" + cafe + ",4)|$cut(abc,1)|$left(abc,-1)|$left(abc,9)"), cafe + "|a||abc");
    EXPECT_EQ(eval("$right(" + cafe + ",1)|$right(abc,5)"), "\xC3\xA9|abc");
    EXPECT_EQ(eval("[$pad(" + cafe + ",6)]"), cafe + "  ");
    EXPECT_EQ(eval("$pad_right(7,3,0)|$pad(ab,4,\xC2\xB7)"), "007|ab\xC2\xB7\xC2\xB7");
    EXPECT_EQ(eval("$padcut(abcdef,3)|$padcut(ab,3)|$padcut_right(ab,3)"), "abc|ab | ab");
    EXPECT_EQ(eval("$insert(" + cafe + ",!,3)|$insert(ab,!,9)"), "caf!\xC3\xA9|ab!");
    EXPECT_EQ(eval("$repeat(ab,3)|$repeat(ab,-2)"), "ababab|");
    EXPECT_EQ(eval("$trim(  a b  )"), "a b");
    EXPECT_EQ(eval("$strchr(" + cafe + ",\xC3\xA9)|$strrchr(abcabc,b)|$strstr(abcabc,ca)|$strstr(abc,x)"),
              "4|5|3|0");
}

TEST_F(Functions, ReplaceWorksInOnePassOverPairs) {
    EXPECT_EQ(eval("$replace(a-b-c,-,+)"), "a+b+c");
    EXPECT_EQ(eval("$replace(abc,a,b,b,c)"), "bcc");
    // Replacement text is not searched again.
    EXPECT_EQ(eval("$replace(aaa,a,aa)"), "aaaaaa");
    EXPECT_EQ(eval("$replace(abc,,x)"), "abc");
}

TEST_F(Functions, CaseMappingCoversAccentedLetters) {
    EXPECT_EQ(eval("$upper(\xC3\xA9t\xC3\xA9 \xD0\xB6 ab)"), "\xC3\x89T\xC3\x89 \xD0\x96 AB");
    EXPECT_EQ(eval("$lower(\xC3\x89T\xC3\x89 \xCE\xA9)"), "\xC3\xA9t\xC3\xA9 \xCF\x89");
    EXPECT_EQ(eval("$caps(the BEST of '('live')'-hip-hop)"), "The Best Of (Live)-Hip-Hop");
    EXPECT_EQ(eval("$caps2(the BEST of)"), "The BEST Of");
    EXPECT_EQ(eval("$caps(%channels%)"), "Stereo");
    // Malformed bytes pass through untouched.
    EXPECT_EQ(eval("$upper(a\xFF"
                   "b)"),
              "A\xFF"
              "B");
}

TEST_F(Functions, AbbreviationsAndLineEnds) {
    EXPECT_EQ(eval("$abbr(Final Fantasy VII '('Original Soundtrack')')"), "FFV(OS)");
    EXPECT_EQ(eval("$abbr(Symphony No 9 in D minor)"), "SN9iDm");
    EXPECT_EQ(eval("$abbr(Short,10)|$abbr(Much Longer Title,10)"), "Short|MLT");
    EXPECT_EQ(eval("$fix_eol(one$crlf()two)|$fix_eol(one$char(10)two,~)|$fix_eol(one)"),
              "one (...)|one~|one");
    EXPECT_EQ(eval("$stripprefix(The Beatles)|$stripprefix(A Tribe)|$stripprefix(Theatre)"),
              "Beatles|Tribe|Theatre");
    EXPECT_EQ(eval("$stripprefix(Die Toten Hosen,Der,Die)"), "Toten Hosen");
}

TEST_F(Functions, ArithmeticIsIntegerAndNeverFails) {
    EXPECT_EQ(eval("$num(%tracknumber%,4)|$num(-5,3)|$num(abc,2)|$num(1234,2)"), "0003|-005|00|1234");
    EXPECT_EQ(eval("$div(%samplerate%,1000)|$div(7,2)|$div(-7,2)|$div(100,5,2)"), "44|3|-3|10");
    EXPECT_EQ(eval("$mul(6,7)|$add(1,2,3)|$sub(10,3,2)|$mod(17,5)"), "42|6|5|2");
    EXPECT_EQ(eval("$min(5,3,9)|$max(5,3,9)|$add(12abc,x)"), "3|9|12");
    // Division by zero keeps the value; overflow saturates.
    EXPECT_EQ(eval("$div(9,0)|$mod(9,0)"), "9|9");
    EXPECT_EQ(eval("$mul(9223372036854775807,2)|$sub(-9223372036854775807,5)"),
              "9223372036854775807|-9223372036854775808");
    EXPECT_EQ(eval("$div(-9223372036854775808,-1)|$mod(-9223372036854775808,-1)"), "9223372036854775807|0");
    EXPECT_EQ(eval("$num(99999999999999999999999,1)"), "9223372036854775807");
}

TEST_F(Functions, PathsAndDates) {
    EXPECT_EQ(eval("$ext(%path%)|$filename(%path%)"), "flac|03 Easy Way Out");
    EXPECT_EQ(eval("$directory(%path%)|$directory(%path%,2)|$directory(%path%,9)"), "0|Low Roar|");
    EXPECT_EQ(eval("$directory_path(%path%)"), "/home/ann/Music/Low Roar/0");
    EXPECT_EQ(eval("$ext(/a.b/file)|$ext(/x/.hidden)|$directory_path(/top.flac)|$directory_path(f.flac)"),
              "||/|");
    EXPECT_EQ(eval("$year(%date%)|$year(1999)|$year(May 1999)"), "2014|1999|");
}

TEST_F(Functions, MetaReadsTagsByNameAndIndex) {
    track.addTag("artist", "Jófríður");
    EXPECT_EQ(eval("$meta(artist)"), "Low Roar, Jófríður");
    EXPECT_EQ(eval("$meta(ARTIST,1)|$meta(artist,0)"), "Jófríður|Low Roar");
    EXPECT_EQ(eval("[$meta(artist,2)]|[$meta(mood)]|$meta(mood)"), "||");
    EXPECT_EQ(eval("$meta_sep(artist, & )|$meta_num(artist)|$meta_num(mood)"), "Low Roar & Jófríður|2|0");
    // Empty values are skipped together with their separator.
    track.addTag("mood", "");
    track.addTag("mood", "calm");
    track.addTag("mood", "");
    EXPECT_EQ(eval("<$meta(mood)>|<%mood%>|$meta_num(mood)"), "<calm>|<calm>|3");
    track.addTag("artist", "Ann");
    EXPECT_EQ(eval("$meta_sep(artist,$char(44) , and )"), "Low Roar, Jófríður and Ann");
    EXPECT_EQ(eval("$info(codec) $info(samplerate) $info(channels)|[$info(encoder)]"), "FLAC 44100 2|");
    track.extraInfo.emplace_back("encoder", "libFLAC");
    EXPECT_EQ(eval("$info(Encoder)"), "libFLAC");
}

TEST_F(Functions, CharactersAndVariables) {
    EXPECT_EQ(eval("a$crlf()b$tab()c$tab(2)d"), "a\r\nb\tc\t\td");
    EXPECT_EQ(eval("$char(65)$char(8211)$char(0)$char(-3)$char(55296)$char(1114112)"), "A\xE2\x80\x93");
    EXPECT_EQ(eval("$puts(x,%genre%)<$get(x)>$put(y,42)/$get(y)/$get(z)"), "<Ambient>42/42/");
    EXPECT_EQ(eval("[$get(nothing)]$puts(e,)[$get(e)]"), "");
}

TEST_F(Functions, GeneratedTextIsBounded) {
    EXPECT_LE(eval("$repeat(abcd,999999999999)").size(), std::size_t(1) << 20);
    EXPECT_EQ(eval("$pad(a,999999999999)").size(), std::size_t(1) << 16);
    EXPECT_EQ(eval("$tab(999999999)").size(), std::size_t(1) << 16);
    EXPECT_EQ(eval("$num(1,999999999)").size(), std::size_t(1) << 16);
    // Text that doubles step by step, or multiplies through replacement, stops
    // growing instead of exhausting memory.
    std::string doubling = "$puts(v,$repeat(x,1000))";
    for (int i = 0; i < 40; ++i) doubling += "$puts(v,$get(v)$get(v))";
    EXPECT_LE(eval(doubling + "$get(v)").size(), std::size_t(64) << 20);
    EXPECT_LE(eval("$replace($repeat(a,999999),a,$repeat(b,999999))").size(), std::size_t(64) << 20);
}

}  // namespace
}  // namespace titleformat::test
