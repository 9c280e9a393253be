// The PP-OCR pipeline's reading of lines: the order of the boxes, the recogniser's output decoded
// into characters, and the spaces between Latin words read from the line picture.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tools/ocrd/ppocr/ctc_decoder.h"
#include "tools/ocrd/ppocr/geometry.h"
#include "tools/ocrd/ppocr/reading_order.h"
#include "tools/ocrd/ppocr/word_spaces.h"
#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {
namespace {

// ---------------------------------------------------------------------------------------------
// Reading order

Quad Box(double left, double top, double width, double height) {
  return {Point{left, top}, Point{left + width, top}, Point{left + width, top + height},
          Point{left, top + height}};
}

TEST(PpocrReadingOrder, RowsAreReadTopToBottomAndEachRowLeftToRight) {
  struct Case {
    const char* what;
    std::vector<Quad> boxes;
    std::vector<std::size_t> order;
  };
  const Case cases[] = {
      {"two columns on one row", {Box(300, 10, 100, 20), Box(10, 12, 100, 20)}, {1, 0}},
      {"one column of rows",
       {Box(10, 100, 100, 20), Box(10, 50, 100, 20), Box(10, 10, 100, 20)},
       {2, 1, 0}},
      {"a table",
       {Box(200, 52, 80, 20), Box(10, 10, 80, 20), Box(10, 50, 80, 20), Box(200, 8, 80, 20)},
       {1, 3, 2, 0}},
      {"a line falling to the right, then the next line",
       {Box(150, 18, 60, 20), Box(10, 40, 60, 20), Box(10, 10, 60, 20), Box(80, 14, 60, 20)},
       {2, 3, 0, 1}},
      {"a line rising to the right",
       {Box(150, 10, 60, 20), Box(10, 18, 60, 20), Box(80, 14, 60, 20)},
       {1, 2, 0}},
      {"centres half a line apart are two rows, the upper first",
       {Box(200, 10, 100, 20), Box(10, 20, 100, 20)},
       {0, 1}},
      {"centres just under half a line apart are one row",
       {Box(200, 10, 100, 20), Box(10, 19.9, 100, 20)},
       {1, 0}},
      // A title 60 high beside two lines 16 high: the lines' centres are 12 and 14 from the
      // title's, under half the title's height but not under half their own.
      {"a tall title beside two small lines",
       {Box(10, 0, 200, 60), Box(250, 10, 100, 16), Box(250, 36, 100, 16)},
       {1, 0, 2}},
      // Rows are measured from their first box: a box level with the row's last box but not
      // with its first starts the next row.
      {"a staircase of boxes",
       {Box(10, 10, 60, 20), Box(80, 16, 60, 20), Box(5, 22, 60, 20)},
       {0, 1, 2}},
      {"a tall title level with the line beside it",
       {Box(250, 22, 100, 16), Box(10, 0, 200, 60)},
       {1, 0}},
      {"nothing", {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadingOrder(c.boxes), c.order) << c.what;
}

TEST(PpocrReadingOrder, ASkewedBoxIsPlacedByItsExtentNotItsFirstCorner) {
  // A line tilted up to the right: its top-left corner is lower than the level line's, but its
  // middle is level with it, and it starts further left.
  const Quad tilted = {Point{10, 24}, Point{200, 4}, Point{203, 24}, Point{13, 44}};
  const std::vector<Quad> boxes = {Box(220, 14, 100, 20), tilted, Box(10, 80, 100, 20)};
  EXPECT_EQ(ReadingOrder(boxes), (std::vector<std::size_t>{1, 0, 2}));
}

// ---------------------------------------------------------------------------------------------
// The dictionary and greedy decoding

TEST(PpocrDictionary, ReadsOneCharacterALineWhateverTheLineBreaks) {
  for (const char* text : {"a\nb\nc\n", "a\r\nb\r\nc\r\n", "a\nb\r\nc"}) {
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Load(text)) << text;
    EXPECT_EQ(dictionary.classes(), 5u) << text;  // blank, a, b, c, space
    EXPECT_EQ(dictionary.Text(0), "") << text;
    EXPECT_EQ(dictionary.Text(1), "a") << text;
    EXPECT_EQ(dictionary.Text(2), "b") << text;
    EXPECT_EQ(dictionary.Text(3), "c") << text;
    EXPECT_EQ(dictionary.Text(4), " ") << text;
    EXPECT_EQ(dictionary.Text(5), "") << text;  // beyond the dictionary
    EXPECT_TRUE(dictionary.IsSpace(4)) << text;
    for (const std::size_t other : {0u, 1u, 3u, 5u}) {
      EXPECT_FALSE(dictionary.IsSpace(other)) << text << " class " << other;
    }
  }
}

TEST(PpocrDictionary, KeepsMultiByteCharactersWholeAndRefusesAnEmptyFile) {
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Load("图\n片\n€\n"));
  EXPECT_EQ(dictionary.classes(), 5u);
  EXPECT_EQ(dictionary.Text(1), "图");
  EXPECT_EQ(dictionary.Text(3), "€");
  // Loading again replaces the characters.
  ASSERT_TRUE(dictionary.Load("x\ny"));
  EXPECT_EQ(dictionary.classes(), 4u);
  EXPECT_EQ(dictionary.Text(1), "x");
  EXPECT_EQ(dictionary.Text(3), " ");
  EXPECT_FALSE(dictionary.Load(""));
}

// Classes of the test dictionary "a b c": 0 blank, 1 a, 2 b, 3 c, 4 space.
constexpr int kBlank = 0, kA = 1, kB = 2, kC = 3, kSpace = 4;
constexpr std::size_t kClasses = 5;

Dictionary Abc() {
  Dictionary dictionary;
  EXPECT_TRUE(dictionary.Load("a\nb\nc\n"));
  return dictionary;
}

// A step of the recogniser's output: the likeliest class, its probability, and the space
// class's probability when that is not the likeliest.
struct Step {
  int best;
  float probability = 0.9f;
  float space = 0;
};

std::vector<float> Table(const std::vector<Step>& steps, std::size_t classes = kClasses) {
  std::vector<float> table(steps.size() * classes, 0.0f);
  for (std::size_t s = 0; s < steps.size(); ++s) {
    float* row = table.data() + s * classes;
    if (static_cast<std::size_t>(kSpace) < classes) row[kSpace] = steps[s].space;
    row[steps[s].best] = steps[s].probability;
  }
  return table;
}

DecodedLine Decode(const std::vector<Step>& steps, const Dictionary& dictionary) {
  const std::vector<float> table = Table(steps);
  return DecodeGreedy(table.data(), steps.size(), kClasses, dictionary);
}

TEST(PpocrCtc, RepeatsAreJoinedBlanksDroppedAndABlankSeparatesRepeats) {
  const Dictionary dictionary = Abc();
  struct Case {
    std::vector<Step> steps;
    const char* text;
  };
  const Case cases[] = {
      {{{kA}, {kA}, {kB}}, "ab"},
      {{{kA}, {kBlank}, {kA}}, "aa"},
      {{{kBlank}, {kA}, {kBlank}, {kBlank}, {kB}, {kBlank}}, "ab"},
      {{{kA}, {kB}, {kA}, {kC}}, "abac"},
      {{{kA}, {kSpace}, {kB}}, "a b"},
      {{{kA}, {kSpace}, {kSpace}, {kB}}, "a b"},
      {{{kA}, {kSpace}, {kBlank}, {kSpace}, {kB}}, "a  b"},
      {{{kBlank}, {kBlank}}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.steps, dictionary).Text(), c.text) << c.text;
}

TEST(PpocrCtc, ConfidenceIsTheMeanProbabilityOfTheCharactersKept) {
  const Dictionary dictionary = Abc();
  // The blanks' probabilities do not count.
  const DecodedLine line =
      Decode({{kA, 0.9f}, {kBlank, 0.99f}, {kB, 0.6f}, {kBlank, 0.5f}, {kSpace, 0.4f}, {kC, 0.3f}},
             dictionary);
  EXPECT_EQ(line.Text(), "ab c");
  EXPECT_NEAR(line.confidence, (0.9f + 0.6f + 0.4f + 0.3f) / 4, 1e-6);
  EXPECT_EQ(Decode({{kBlank, 0.99f}, {kBlank, 0.8f}}, dictionary).confidence, 0.0f);
  EXPECT_EQ(Decode({}, dictionary).confidence, 0.0f);
}

TEST(PpocrCtc, EachCharacterKeepsItsStepAndTheSpaceWeightOfTheBlanksBeforeIt) {
  const Dictionary dictionary = Abc();
  const DecodedLine line = Decode(
      {
          {kBlank, 0.9f, 0.05f},  // 0
          {kA, 0.8f},             // 1
          {kA, 0.7f, 0.4f},       // 2: a repeat, not a gap: its space weight does not count
          {kBlank, 0.9f, 0.3f},   // 3
          {kBlank, 0.9f, 0.1f},   // 4
          {kB, 0.9f},             // 5
          {kSpace, 0.6f},         // 6
          {kC, 0.9f},             // 7
      },
      dictionary);
  ASSERT_EQ(line.glyphs.size(), 4u);
  const std::string texts[] = {"a", "b", " ", "c"};
  const std::size_t steps[] = {1, 5, 6, 7};
  const float spaces[] = {0.05f, 0.3f, 0.0f, 0.0f};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(line.glyphs[i].text, texts[i]) << i;
    EXPECT_EQ(line.glyphs[i].step, steps[i]) << i;
    EXPECT_FLOAT_EQ(line.glyphs[i].spaceBefore, spaces[i]) << i;
  }
}

TEST(PpocrCtc, AModelWithFewerClassesThanTheDictionaryIsReadWithinItsRows) {
  const Dictionary dictionary = Abc();
  // Three classes a step (blank, a, b): there is no space column to read.
  const std::vector<float> table = Table({{kBlank}, {kA}, {kBlank}, {kB}}, 3);
  const DecodedLine line = DecodeGreedy(table.data(), 4, 3, dictionary);
  ASSERT_EQ(line.Text(), "ab");
  EXPECT_EQ(line.glyphs[0].spaceBefore, 0.0f);
  EXPECT_EQ(line.glyphs[1].spaceBefore, 0.0f);
  EXPECT_TRUE(DecodeGreedy(table.data(), 4, 0, dictionary).glyphs.empty());
}

// ---------------------------------------------------------------------------------------------
// Spaces between words

TEST(PpocrWordSpaces, AGapIsASpaceWhenTheModelOrThePictureSaysSo) {
  struct Case {
    float spaceProbability;
    double emptyRun;  // share of the line's height
    bool space;
  };
  const Case cases[] = {
      {0.25f, 0, true},    {0.24f, 0, false},     {0, 0.3, true},       {0, 0.29, false},
      {0.02f, 0.25, true}, {0.019f, 0.25, false}, {0.02f, 0.24, false}, {0.14f, 0.24, false},
      {0.9f, 0.9, true},   {0, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WordGap(c.spaceProbability, c.emptyRun), c.space)
        << c.spaceProbability << " / " << c.emptyRun;
  }
}

using Rgb = std::array<int, 3>;

// A line picture of `background` with blocks of `ink` from column x0 to x1 (included), each
// from row y0 to y1 (included).
struct Block {
  int x0, x1, y0, y1;
};
RgbImage LinePicture(int width, int height, Rgb background, Rgb ink,
                     const std::vector<Block>& blocks) {
  RgbImage line(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Rgb colour = background;
      for (const Block& b : blocks) {
        if (x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1) colour = ink;
      }
      std::uint8_t* p = line.Row(y) + static_cast<std::size_t>(x) * 3;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(colour[c]);
    }
  }
  return line;
}

// Columns from a picture: '#' ink, anything else empty.
std::vector<bool> Columns(const std::string& picture) {
  std::vector<bool> columns;
  for (const char c : picture) columns.push_back(c == '#');
  return columns;
}

TEST(PpocrWordSpaces, InkColumnsAreThoseThatStandOutFromTheBackground) {
  // A letter from the top row to the bottom one and a lower one: the background is what most of
  // the top and bottom rows show.
  const std::vector<Block> letters = {{3, 5, 0, 9}, {10, 14, 3, 6}};
  struct Case {
    const char* what;
    Rgb background;
    Rgb ink;
    std::vector<Block> blocks;
    std::string columns;
  };
  const Case cases[] = {
      {"black on white", {255, 255, 255}, {0, 0, 0}, letters, "...###....#####....."},
      {"white on blue", {30, 60, 200}, {255, 255, 255}, letters, "...###....#####....."},
      {"dark grey on light grey", {170, 170, 170}, {90, 90, 90}, letters, "...###....#####....."},
      {"tall letters in 8 of the 20 columns of the top and bottom rows",
       {255, 255, 255},
       {0, 0, 0},
       {{0, 2, 0, 9}, {6, 10, 0, 9}, {15, 19, 3, 6}},
       "###...#####....#####"},
      {"no contrast to tell gaps by",
       {200, 200, 200},
       {180, 180, 180},
       letters,
       "####################"},
  };
  for (const Case& c : cases) {
    const RgbImage line = LinePicture(20, 10, c.background, c.ink, c.blocks);
    EXPECT_EQ(InkColumns(line), Columns(c.columns)) << c.what;
  }
  EXPECT_TRUE(InkColumns(RgbImage{}).empty());
}

TEST(PpocrWordSpaces, FaintPixelsUnderAThirdOfTheContrastAreNotInk) {
  RgbImage line = LinePicture(20, 10, {255, 255, 255}, {0, 0, 0}, {{3, 5, 2, 7}});
  auto set = [&line](int x, int y, int grey) {
    std::uint8_t* p = line.Row(y) + static_cast<std::size_t>(x) * 3;
    p[0] = p[1] = p[2] = static_cast<std::uint8_t>(grey);
  };
  set(8, 4, 200);   // 55 from the background: under 255 / 3
  set(12, 4, 150);  // 105 from it
  EXPECT_EQ(InkColumns(line), Columns("...###......#......."));
}

TEST(PpocrWordSpaces, ASpaceGoesBetweenLatinWordsWhereTheGapIsWide) {
  struct Case {
    const char* what;
    std::vector<Glyph> glyphs;
    std::string ink;  // one character a column, 4 columns a step; the line is 20 pixels high
    const char* text;
  };
  // The glyphs at steps 2 and 8 are separated by the columns from 10 to 33.
  const std::string wide = "##############........##################";       // 8 empty: 0.4
  const std::string narrow = "################....######################";   // 4 empty: 0.2
  const std::string quarter = "###############.....######################";  // 5 empty: 0.25
  const Case cases[] = {
      {"a wide empty run", {{"a", 2, 0}, {"b", 8, 0}}, wide, "a b"},
      {"a narrow run inside a word", {{"a", 2, 0}, {"b", 8, 0}}, narrow, "ab"},
      {"the model's weight for a space", {{"a", 2, 0}, {"b", 8, 0.3f}}, narrow, "a b"},
      {"a little of each", {{"a", 2, 0}, {"b", 8, 0.05f}}, quarter, "a b"},
      {"a quarter run alone", {{"a", 2, 0}, {"b", 8, 0.01f}}, quarter, "ab"},
      {"digits", {{"7", 2, 0}, {"B", 8, 0}}, wide, "7 B"},
      {"between Chinese characters", {{"图", 2, 0}, {"片", 8, 0.9f}}, wide, "图片"},
      {"a letter and a Chinese character", {{"a", 2, 0}, {"图", 8, 0.9f}}, wide, "a图"},
      {"a Chinese character and a letter", {{"图", 2, 0}, {"a", 8, 0.9f}}, wide, "图a"},
      {"a space the model read", {{"a", 2, 0}, {" ", 5, 0}, {"b", 8, 0}}, wide, "a b"},
      {"after a comma", {{",", 2, 0}, {"b", 8, 0}}, wide, ", b"},
      {"after a closing bracket", {{")", 2, 0}, {"b", 8, 0}}, wide, ") b"},
      {"before an opening bracket", {{"a", 2, 0}, {"(", 8, 0}}, wide, "a ("},
      {"not after a full stop", {{".", 2, 0}, {"b", 8, 0.9f}}, wide, ".b"},
      {"not before a comma", {{"a", 2, 0}, {",", 8, 0.9f}}, wide, "a,"},
      {"not before a closing bracket", {{"a", 2, 0}, {")", 8, 0.9f}}, wide, "a)"},
      {"only the wide gap of several",
       {{"a", 1, 0}, {"b", 3, 0}, {"c", 7, 0}, {"d", 9, 0}},
       "#######.#######........#######.#######",
       "ab cd"},
      // Steps past the picture's right edge: the run is counted up to the edge.
      {"a run up to the edge",
       {{"a", 2, 0}, {"b", 20, 0}},
       "####################..........",
       "a b"},
      {"a run at the edge counts only the picture's columns",
       {{"a", 2, 0}, {"b", 20, 0}},
       "#########################.....",
       "ab"},
      {"both glyphs past the edge",
       {{"a", 10, 0}, {"b", 20, 0}},
       "##############################",
       "ab"},
      {"both glyphs past the edge, the model's space",
       {{"a", 10, 0}, {"b", 20, 0.5f}},
       "##############################",
       "a b"},
  };
  for (const Case& c : cases) {
    DecodedLine line{c.glyphs, 0.9f};
    AddWordSpaces(line, Columns(c.ink), 20, {4.0});
    EXPECT_EQ(line.Text(), c.text) << c.what;
  }
}

TEST(PpocrWordSpaces, AnAddedSpaceStandsAtTheStepOfTheLetterBeforeIt) {
  DecodedLine line{{{"a", 2, 0}, {"b", 8, 0.6f}}, 0.9f};
  AddWordSpaces(line, Columns(std::string(40, '#')), 20, {4.0});
  ASSERT_EQ(line.glyphs.size(), 3u);
  EXPECT_EQ(line.glyphs[1].text, " ");
  EXPECT_EQ(line.glyphs[1].step, 2u);
  EXPECT_EQ(line.glyphs[2].text, "b");
  EXPECT_EQ(line.glyphs[2].step, 8u);
  EXPECT_FLOAT_EQ(line.glyphs[2].spaceBefore, 0.6f);
  EXPECT_FLOAT_EQ(line.confidence, 0.9f);
}

TEST(PpocrWordSpaces, NothingIsAddedWithoutTheLinesMeasures) {
  const std::vector<Glyph> glyphs = {{"a", 2, 0.9f}, {"b", 8, 0.9f}};
  const std::vector<bool> ink = Columns("##############........##################");
  struct Case {
    const char* what;
    std::vector<Glyph> glyphs;
    std::vector<bool> ink;
    int height;
    double columnsPerStep;
  };
  const Case cases[] = {
      {"one glyph", {{"a", 2, 0.9f}}, ink, 20, 4},
      {"no columns", glyphs, {}, 20, 4},
      {"no height", glyphs, ink, 0, 4},
      {"no step width", glyphs, ink, 20, 0},
  };
  for (const Case& c : cases) {
    DecodedLine line{c.glyphs, 0.9f};
    AddWordSpaces(line, c.ink, c.height, {c.columnsPerStep});
    EXPECT_EQ(line.glyphs.size(), c.glyphs.size()) << c.what;
  }
}

}  // namespace
}  // namespace lumenta::ocrd::ppocr
