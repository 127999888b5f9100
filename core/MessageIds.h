#pragma once

namespace tz4 {

// Catalogue ids of the texts the program shows or writes; the catalogue holds both languages.
namespace msg {
// core: error boxes, settings file, start-up
constexpr int ApplicationError = 1004;
constexpr int ApplicationErrorTitle = 1005;
constexpr int SystemError = 1011;
constexpr int SystemErrorTitle = 1013;
constexpr int TrappableError = 1024;
constexpr int TrappableErrorTitle = 1023;
constexpr int SystemFileReadError = 1014;
constexpr int SystemFileReadErrorTitle = 1012;
constexpr int UnsupportedSystemFunction = 1015;
constexpr int UnsupportedSystemFunctionTitle = 1030;
constexpr int AlreadyStarted = 4003;
constexpr int AlreadyStartedTitle = 4001;
constexpr int UnsupportedOs = 4005;
constexpr int UnsupportedOsTitle = 4004;

// core: measurement text file
constexpr int TextDate = 1028;
constexpr int TextModeWorkFunction = 1010;
constexpr int TextModeThickness = 1029;
constexpr int TextUvIntensity = 1019;
constexpr int TextCountingTime = 1007;
constexpr int TextAnodeVoltage = 1027;
constexpr int TextLightCoefficientName = 1009;
constexpr int TextCalibrationLineName = 1008;
constexpr int TextEnergyRange = 1017;
constexpr int TextMeasureEnergy = 1016;
constexpr int TextMeasureCount = 1018;
constexpr int TextYieldColumns = 1006;
constexpr int TextCountColumns = 1025;
constexpr int TextThicknessColumn = 1026;
constexpr int CannotSaveData = 5093;

// main window: connection sequence
constexpr int CheckingConnection = 3043;
constexpr int ConnectionFailed = 3044;
constexpr int Initializing = 3045;
constexpr int WarmingUp = 3046;
constexpr int InitializingLightAdjuster = 3052;
constexpr int SettingAnodeVoltage = 3075;
constexpr int UvAdjustmentForAnodeVoltage = 3076;
constexpr int CannotCommunicate = 3072;
constexpr int SelfDiagnosisError = 3082;
constexpr int WarmUpWait = 3068;
constexpr int WarmUpMinutesLeft = 3067;
constexpr int InitializeFinished = 3064;
constexpr int ReadyTitle = 3063;
constexpr int Busy = 3070;
constexpr int NoConnect = 3073;
constexpr int AnotherProcessRunning = 3066;
constexpr int ProcessAbortedTitle = 3059;
constexpr int ProcessAborted = 3058;

// main window: process event status captions
constexpr int CpsStarted = 3004;
constexpr int CpsBackground = 3002;
constexpr int CpsProcessing = 3003;
constexpr int CpsFinished = 3005;
constexpr int CpsCancelled = 3001;
constexpr int WorkStarted = 3032;
constexpr int WorkBackground = 3030;
constexpr int WorkProcessing = 3031;
constexpr int WorkFinished = 3033;
constexpr int WorkCancelled = 3029;
constexpr int LightStarted = 3027;
constexpr int LightBackground = 3025;
constexpr int LightProcessing = 3026;
constexpr int LightFinished = 3028;
constexpr int LightCancelled = 3024;
constexpr int CalibrationStarted = 3009;
constexpr int CalibrationBackground = 3007;
constexpr int CalibrationProcessing = 3008;
constexpr int CalibrationFinished = 3010;
constexpr int CalibrationCancelled = 3006;
constexpr int SetLightStarted = 3015;
constexpr int SetLightProcessing1 = 3013;
constexpr int SetLightProcessing = 3014;
constexpr int SetLightFinished = 3016;
constexpr int SetLightOffTarget = 3012;
constexpr int SetLightCancelled = 3011;
constexpr int BaseStarted = 3022;
constexpr int BaseSpanMinimum = 3018;
constexpr int BaseSpanMaximum = 3019;
constexpr int BaseIris = 3020;
constexpr int BaseProcessing = 3021;
constexpr int BaseFinished = 3023;
constexpr int BaseCancelled = 3017;
constexpr int VoltsStarted = 3038;
constexpr int VoltsPurge = 3035;
constexpr int VoltsProcessing = 3037;
constexpr int VoltsFinished = 3039;
constexpr int VoltsNoResult = 3036;
constexpr int VoltsCancelled = 3034;

// main window: process event messages and their titles
constexpr int CountingRateTitle = 3047;
constexpr int CalibrationTitle = 3048;
constexpr int UvAdjustmentTitle = 3050;
constexpr int LightAdjusterTitle = 3051;
constexpr int WorkFunctionTitle = 3056;
constexpr int LightCoefficientTitle = 3077;
constexpr int AnodeVoltageTitle = 3074;
constexpr int UvAdjustmentFailed = 3057;
constexpr int VoltsMeasurementFinished = 3062;
constexpr int SensorTrouble = 3069;
constexpr int MeasurementDone = 3078;
constexpr int MeasurementFinishedTitle = 3079;
constexpr int CalibrateByThisData = 3081;
constexpr int CalibrationShiftDone = 3055;
constexpr int CalibrationShiftDoneTitle = 3054;

// data window: measurement start
constexpr int MeasurementTitle = 6072;
constexpr int DoorOpen = 6108;
constexpr int SetAnodeVoltageOk = 6104;
constexpr int AnodeVoltageSetTitle = 6103;
constexpr int SettingAnodeVolts = 6105;
constexpr int SetAnodeVoltage = 6106;
constexpr int NoAnodeVoltageTitle = 6107;
constexpr int MoveSampleStage = 6022;
constexpr int ReturnSampleStage = 6023;
constexpr int MoveStageTitle = 6024;
constexpr int SaveThisData = 6075;
constexpr int FinishedTitle = 6079;
constexpr int AbortProcess = 6086;
constexpr int SetUvIntensityAt = 6057;
constexpr int UvIntensityAdjustmentTitle = 6058;
constexpr int UvAdjustmentDone = 6109;
constexpr int CalibrationNotSet = 6110;
constexpr int CalibrationReady = 6063;
constexpr int CalibrationMeasureTitle = 6062;
constexpr int MeasuringCalibration = 6051;
constexpr int InitLightAdjusterAt = 6001;
constexpr int InitLightAdjusterTitle = 6059;
constexpr int EnterSampleName = 6026;
constexpr int NoSampleNameTitle = 6028;
constexpr int SetLocation = 6027;
constexpr int NoLocationTitle = 6034;
constexpr int EnergyOutOfRange = 6074;
constexpr int EnergyOutOfRangeTitle = 6018;
constexpr int UvOutOfRange = 6078;
constexpr int UvOutOfRangeTitle = 6060;
constexpr int SetCountingTime = 6044;
constexpr int NoCountingTimeTitle = 6045;
constexpr int InputThickness = 6095;
constexpr int NoThicknessTitle = 6101;
} // namespace msg

} // namespace tz4
