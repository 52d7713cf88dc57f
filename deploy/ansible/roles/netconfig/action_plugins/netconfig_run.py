# Runs netconfig on the target with the command module of its kind
# (win_command on Windows) and makes its exit code the task's outcome. The
# command modules alone can only say "non-zero return code" and carry no
# diff: this fails with netconfig's own message, and for a /whatif run
# reports the planned commands as the diff, changed only when there are any.
from ansible.module_utils.parsing.convert_bool import boolean
from ansible.plugins.action import ActionBase


class ActionModule(ActionBase):
    TRANSFERS_FILES = False
    _VALID_ARGS = frozenset(("argv", "plan"))

    def run(self, tmp=None, task_vars=None):
        self._supports_check_mode = True
        self._supports_async = True
        result = super().run(tmp, task_vars)
        windows = self._connection._shell.SHELL_FAMILY == "powershell"
        module = "ansible.windows.win_command" if windows else "ansible.legacy.command"
        wrap_async = self._task.async_val and not self._connection.has_native_async
        run = self._execute_module(module_name=module,
                                   module_args={"argv": [str(a) for a in self._task.args["argv"]]},
                                   task_vars=task_vars, wrap_async=wrap_async)
        if not wrap_async:
            self._remove_tmp_path(self._connection._shell.tmpdir)
        if self._task.async_val:
            # Started; async_status has the end.
            result.update(run)
            return result

        stdout = (run.get("stdout") or "").replace("\r\n", "\n").strip()
        stderr = (run.get("stderr") or "").replace("\r\n", "\n").strip()
        result.update(rc=run.get("rc"), stdout=stdout, stderr=stderr, changed=False)
        if result["rc"] != 0:
            result.update(failed=True, msg=stderr or run.get("msg") or "netconfig did not run")
        elif boolean(self._task.args.get("plan", False), strict=False) and stdout:
            result.update(changed=True, commands=stdout.split("\n"), diff={"prepared": stdout + "\n"})
        return result
