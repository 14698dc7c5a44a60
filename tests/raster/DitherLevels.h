#pragma once
// The pattern of every level band of the two dithers, at each band's ends:
// the pattern of a level is the one of the last entry at or below it.

namespace qov::test {

struct LevelCase {
  int level;
  const char* pattern;  // block letters, top row first
};

inline constexpr LevelCase kDither1Levels[] = {
    {0, "KKKKKKKKK"},   {85, "KKKKKKKKK"},  {86, "KKKKKKKK."},  {169, "KKKKKKKK."},
    {170, "KKKKK.K.."}, {254, "KKKKK.K.."}, {255, "K.K.K.K.."}, {424, "K.K.K.K.."},
    {425, "KK.K....."}, {509, "KK.K....."}, {510, ".K.K....."}, {594, ".K.K....."},
    {595, "K........"}, {679, "K........"}, {680, "........."}, {765, "........."},
};

inline constexpr LevelCase kDither2Levels[] = {
    {0, "KKKK"},   {60, "KKKK"},  {61, "KKK."},  {191, "KKK."}, {192, "GGG."}, {251, "GGG."},
    {252, ".KK."}, {382, ".KK."}, {383, ".GG."}, {442, ".GG."}, {443, "K..."}, {573, "K..."},
    {574, "G..."}, {633, "G..."}, {634, "...."}, {765, "...."},
};

}  // namespace qov::test
