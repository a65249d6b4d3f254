// The Kestrin object without an image: every method is there, the argument rule, the
// conversions of its arguments, the date, the routines this build lacks, and the
// conversion error of a cell that holds no number.
var names = ["LoadImageFile", "LoadParamFile", "LoadMaskFile", "SaveParamFile", "SaveMaskFile",
  "LoadNaxFile", "SaveNaxFile", "AngleIntensity", "PixelIntensity", "FineAngleIntensity", "FindCenter",
  "FindSpot", "Sectoring", "PeakSearch", "PeakFitting", "CalcTilt", "PrintImage", "PrintNax",
  "AutoAnalysis", "GetPeakData", "GetNaxIntensity", "GetPixelIntensity", "GetMaxPeakNumber",
  "SetLoCheck", "SetWaveLengthCheck", "SetPixelSizeXCheck", "SetPixelSizeYCheck", "SetWindowShow",
  "SaveNaxFile2", "SaveNaxFile3", "LoadImageFileSelect", "Test", "GetValue1", "SetValue1",
  "GetValue2", "SetValue2", "LineFit", "ClearMask", "GetClearMask", "SetClearMask"];
var params = ["2ThetaBegin", "2ThetaEnd", "2ThetaStep", "Lo", "WaveLength", "PixelSizeX",
  "PixelSizeY", "Beta", "Phi", "Band", "IntegrationMode", "RectAngleMode", "RectDirection",
  "RectAngle", "SectorAngleStart", "SectorAngleEnd", "CenterX", "CenterY"];
for (var i = 0; i < params.length; i++) {
  names.push("Get" + params[i]);
  names.push("Set" + params[i]);
}
var listed = Kestrin.getMethods().join(",") + ",";
var found = 0;
for (var i = 0; i < names.length; i++) {
  if (Kestrin.hasKey(names[i]) && listed.indexOf(names[i] + ",") >= 0) found++;
  else println("missing " + names[i]);
}
println("methods found: " + found);
println(Kestrin.hasKey("Nothing"));

// The global instance is there without new; a new one replaces it.
println(Kestrin.Set2ThetaBegin(5));
println(Kestrin.Get2ThetaBegin());
Kestrin = new Kestrin;
println(Kestrin.Get2ThetaBegin());

// Integers round halves to even; texts are read as numbers; too few arguments do nothing.
Kestrin.SetBand(2.6);
println(Kestrin.GetBand());
Kestrin.SetBand(2.5);
println(Kestrin.GetBand());
Kestrin.SetBand("17");
println(Kestrin.GetBand());
Kestrin.SetLo("12.5");
Kestrin.SetLo();
println(Kestrin.GetLo());
println(Kestrin.GetPeakData(0));
println(Kestrin.GetPeakData(0, 4));
println(Kestrin.GetPeakData(0, 3));
println(Kestrin.GetNaxIntensity(36001));
println(Kestrin.GetPixelIntensity(0, 0));
println(Kestrin.Test(2, 1, 2, 3, 4.5));
println(Kestrin.Test(3, 1, 2));

// Switches.
Kestrin.SetClearMask(5);
println(Kestrin.GetClearMask());
Kestrin.SetClearMask(0);
println(Kestrin.GetClearMask());

// The date: one Date object, the same on every read, and not to be replaced.
var d = Kestrin.date;
println(typeof d);
println(d === Kestrin.date);
Kestrin.date = 0;
println(d === Kestrin.date);
println(new Kestrin().date === d);
println(Kestrin.date.getTime() <= new Date().getTime());

// The pattern beside the image needs an image; image extensions are refused silently.
Kestrin.SaveNaxFile2("tif");
Kestrin.SaveNaxFile2("");
Kestrin.SaveNaxFile2("csv");
Kestrin.SaveNaxFile3("csv", 7);
println(Kestrin.LoadImageFile(""));
Kestrin.PeakFitting();

// A cell holding its name is no number: a script error that scripts can catch.
try {
  Kestrin.GetValue2();
} catch (e) {
  println("caught " + e);
}
Kestrin.SetValue2(0.1 + 0.2);
println(Kestrin.GetValue2());
Kestrin.GetValue1();
println("not reached");
