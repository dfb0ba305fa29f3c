# Shared by the quorvane_* modules: how a route becomes quorvane-cli's
# arguments, and one call of the tool for one modem.
from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json

ROUTE_OPTIONS = dict(
    type=dict(type='str', required=True, choices=['tcp', 'tunnel', 'serial']),
    host=dict(type='str'),
    port=dict(type='int'),
    line=dict(type='int', choices=[485, 232]),
    device=dict(type='str'),
)

COMMON_OPTIONS = dict(
    route=dict(type='dict', required=True, options=ROUTE_OPTIONS, required_if=[
        ('type', 'tcp', ['host']),
        ('type', 'tunnel', ['host', 'port', 'line']),
        ('type', 'serial', ['device']),
    ]),
    timeout=dict(type='int', default=10),
    cli=dict(type='path'),
)


def route_arguments(route):
    if route['type'] == 'serial':
        return ['--serial', route['device']]
    address = route['host'] if route['port'] is None else '%s:%d' % (route['host'], route['port'])
    if route['type'] == 'tcp':
        return ['--tcp', address]
    return ['--tunnel', address, '--line', str(route['line'])]


def run_cli(module, *command, **kwargs):
    """Runs one command against the module's modem and returns its result
    object; a bad call or a result the tool did not print fails the task.
    A cwd keyword runs the tool in that folder."""
    cli = module.params['cli'] or module.get_bin_path('quorvane-cli', required=True)
    argv = [cli] + route_arguments(module.params['route'])
    argv += ['--timeout', str(module.params['timeout']), '--json'] + list(command)
    rc, out, err = module.run_command(argv, cwd=kwargs.get('cwd'))
    lines = out.strip().splitlines()
    try:
        result = json.loads(lines[0]) if rc != 2 and len(lines) == 1 else None
    except ValueError:
        result = None
    if not isinstance(result, dict):
        module.fail_json(msg=err.strip() or 'quorvane-cli printed no result', cmd=argv, rc=rc,
                         stdout=out, stderr=err)
    if result.get('result') == 'failed':
        module.fail_json(msg=result.get('reason') or 'failed', target=result.get('target'),
                         differences=result.get('differences', []), cmd=argv, rc=rc)
    return result
