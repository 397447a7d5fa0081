#include "monitor/TempMonitorModel.h"

#include "app/base/SimpleBind.h"
#include "app/base/SmartLogger.h"
#include "app/UIThreadWindow.h"
#include "monitor/DataMgrHelper.h"
#include "monitor/TempMonitorControl.h"

void CTempMonitorModel::StartHardwareSource() {
    if (m_sourceStarted) {
        return;
    }
    m_sourceStarted = true;
    const bool connected = DataMgrHelper::GetInstance()->Connect();
    WriteLog(L"[tempmonitor] hardware source connected:%d", connected ? 1 : 0);
}

void CTempMonitorModel::OnTemperature(long type, long value) {
    SensorReadings handOn;
    if (m_store.OnTemperature(static_cast<int32_t>(type), static_cast<int32_t>(value), &handOn)) {
        PostToUIThread(new mf_bind_t_1<CTempMonitorControl, const SensorReadings&>(
            CTempMonitorControl::GetInstance(), &CTempMonitorControl::OnReadings, std::move(handOn)));
    }
}

void CTempMonitorModel::OnInfoReady(long code) {
    switch (m_store.OnInfoReady(code)) {
    case CSensorReadingStore::InfoAction::kNoTemperatures:
        WriteLog(L"获取的温度数量少于2");
        PostToUIThread(new mf_bind_t<CTempMonitorControl>(CTempMonitorControl::GetInstance(),
                                                          &CTempMonitorControl::OnNoTemperatures));
        break;
    case CSensorReadingStore::InfoAction::kTemperaturesReady:
        PostToUIThread(new mf_bind_t<CTempMonitorControl>(CTempMonitorControl::GetInstance(),
                                                          &CTempMonitorControl::OnTemperaturesReady));
        break;
    case CSensorReadingStore::InfoAction::kNone:
        break;
    }
}
