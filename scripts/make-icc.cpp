// Writes the small ICC profiles that scripts/make-samples embeds in the sample
// pictures. Each profile is made with lcms2 and given its own description.
//
//   make-icc OUT_FOLDER
//
// writes srgb.icc ("sRGB IEC61966-2.1"), wide.icc ("Écran large – D65", a
// name with characters outside ASCII) and gray.icc ("Gray Gamma 2.2").
#include <lcms2.h>

#include <cstdio>
#include <string>

namespace {

bool describe(cmsHPROFILE profile, const wchar_t* description) {
  cmsMLU* text = cmsMLUalloc(nullptr, 1);
  bool ok = text && cmsMLUsetWide(text, "en", "US", description) &&
            cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
  if (text) cmsMLUfree(text);
  return ok;
}

bool save(cmsHPROFILE profile, const wchar_t* description, const std::string& path) {
  bool ok =
      profile && describe(profile, description) && cmsSaveProfileToFile(profile, path.c_str());
  if (profile) cmsCloseProfile(profile);
  if (!ok) std::fprintf(stderr, "make-icc: cannot write %s\n", path.c_str());
  return ok;
}

cmsHPROFILE make_wide() {
  cmsCIExyY d65;
  cmsWhitePointFromTemp(&d65, 6504);
  // Primaries of a wide-gamut display, with a plain 2.2 tone curve.
  cmsCIExyYTRIPLE primaries = {{0.6400, 0.3300, 1.0}, {0.2100, 0.7100, 1.0}, {0.1500, 0.0600, 1.0}};
  cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
  cmsToneCurve* curves[3] = {gamma, gamma, gamma};
  cmsHPROFILE profile = cmsCreateRGBProfile(&d65, &primaries, curves);
  cmsFreeToneCurve(gamma);
  return profile;
}

cmsHPROFILE make_gray() {
  cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
  cmsHPROFILE profile = cmsCreateGrayProfile(cmsD50_xyY(), gamma);
  cmsFreeToneCurve(gamma);
  return profile;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-icc OUT_FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  bool ok = save(cmsCreate_sRGBProfile(), L"sRGB IEC61966-2.1", folder + "/srgb.icc");
  ok = save(make_wide(), L"\u00C9cran large \u2013 D65", folder + "/wide.icc") && ok;
  ok = save(make_gray(), L"Gray Gamma 2.2", folder + "/gray.icc") && ok;
  return ok ? 0 : 1;
}
